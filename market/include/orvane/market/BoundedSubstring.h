#pragma once

#include <optional>
#include <string_view>

namespace orvane {

/// The text between the first occurrence of `left` and the next occurrence of
/// `right` after it, blanks and tabs trimmed at both ends; nothing when either
/// marker is missing. The search is literal and unanchored.
std::optional<std::string_view> substringWithinBoundsLeft(std::string_view text,
                                                          std::string_view left,
                                                          std::string_view right);

}  // namespace orvane
