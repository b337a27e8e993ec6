#pragma once
// A request target as the client sent it: the origin form ("/path?query")
// or the absolute form a proxy sends ("http://host/path?query"), which is
// served as its path.

#include <string_view>

namespace orvane::server {

/// The target's origin form: the absolute form loses its scheme and
/// authority ("http://host" alone is "/"); any other target stays as it is.
std::string_view originForm(std::string_view target);

}  // namespace orvane::server
