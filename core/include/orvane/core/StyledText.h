#pragma once
// A text with one font and one colour, as a status line shows it.

#include <cstdint>
#include <string>

namespace orvane {

struct StyledText {
    enum class Font { Bold, Label };
    std::string text;
    Font font = Font::Label;
    std::uint32_t colour = 0;  // 0xRRGGBB
};

}  // namespace orvane
