#include "PathSegments.h"

namespace orvane::server {

std::vector<std::string_view> pathSegments(std::string_view path) {
    std::vector<std::string_view> segments;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t end = path.find('/', pos);
        if (end == std::string_view::npos) end = path.size();
        if (end > pos) segments.push_back(path.substr(pos, end - pos));
        pos = end + 1;
    }
    return segments;
}

}  // namespace orvane::server
