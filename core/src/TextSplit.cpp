#include "orvane/core/TextSplit.h"

#include <algorithm>

namespace orvane {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (std::size_t n = newlineAt(text, i)) {
            out.push_back(text.substr(start, i - start));
            i += n;
            start = i;
        } else {
            ++i;
        }
    }
    out.push_back(text.substr(start));
    return out;
}

std::vector<std::string_view> splitOn(std::string_view text, char separator) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = text.find(separator); i != std::string_view::npos;
         i = text.find(separator, start)) {
        out.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    out.push_back(text.substr(start));
    return out;
}

std::size_t countFields(std::string_view text, char separator) {
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), separator));
}

std::size_t utf16Length(std::string_view text) {
    std::size_t n = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++n;  // a lead or ASCII byte starts a character
        if (c >= 0xF0) ++n;           // four-byte sequences take a surrogate pair
    }
    return n;
}

}  // namespace orvane
