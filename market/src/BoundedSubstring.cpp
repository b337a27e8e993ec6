#include "orvane/market/BoundedSubstring.h"

namespace orvane {

std::optional<std::string_view> substringWithinBoundsLeft(std::string_view text,
                                                          std::string_view left,
                                                          std::string_view right) {
    std::size_t l = text.find(left);
    if (l == std::string_view::npos) return std::nullopt;
    std::size_t start = l + left.size();
    std::size_t r = text.find(right, start);
    if (r == std::string_view::npos) return std::nullopt;
    std::string_view value = text.substr(start, r - start);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    return value;
}

}  // namespace orvane
