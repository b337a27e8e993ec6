#pragma once
// Splitting texts the way every reader of the server's files does: on each
// newline character (LF, VT, FF, CR, NEL, LINE and PARAGRAPH SEPARATOR), one
// element per separator plus one, so "a\r\nb\n" gives "a", "", "b", "".
// Lengths are counted in UTF-16 code units, as the program's texts count
// characters.

#include <cstddef>
#include <string_view>
#include <vector>

namespace orvane {

/// Length in bytes of the newline character at s[i], or 0 when none starts there.
inline std::size_t newlineAt(std::string_view s, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x0A && c <= 0x0D) return 1;
    if (c == 0xC2)
        return (i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x85) ? 2 : 0;
    if (c == 0xE2)
        return (i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x80 &&
                (static_cast<unsigned char>(s[i + 2]) == 0xA8 ||
                 static_cast<unsigned char>(s[i + 2]) == 0xA9))
                   ? 3
                   : 0;
    return 0;
}

std::vector<std::string_view> splitLines(std::string_view text);
/// The same split made one byte at a time (the plain reference of splitLines).
std::vector<std::string_view> splitLinesBytewise(std::string_view text);
/// Splits on every occurrence of `separator` (one element more than separators).
std::vector<std::string_view> splitOn(std::string_view text, char separator);
/// splitOn into `parts` (cleared first), whose storage a loop over many
/// lines keeps from one line to the next.
void splitOnInto(std::string_view text, char separator, std::vector<std::string_view>& parts);
/// Number of elements splitOn would give, without building them.
std::size_t countFields(std::string_view text, char separator);
/// Characters in UTF-16 code units (ASCII: the byte count).
std::size_t utf16Length(std::string_view text);

}  // namespace orvane
