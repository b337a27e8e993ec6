#pragma once
// The small HTML pages of error answers (404 for missing files, ...).

#include <string>
#include <string_view>

namespace orvane::server {

/// "Not Found" for 404 and so on; "Error" for a status it does not know.
std::string_view reasonPhrase(int status);
/// A complete HTML document naming the status; it never echoes the request.
std::string errorPage(int status);

}  // namespace orvane::server
