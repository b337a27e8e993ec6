#pragma once
// A URL path's segments: what stands between its slashes, empty segments
// ("//", a leading or trailing slash) left out.

#include <string_view>
#include <vector>

namespace orvane::server {

std::vector<std::string_view> pathSegments(std::string_view path);

}  // namespace orvane::server
