#pragma once
// Leading-number conversions used by every reader of the server's texts:
// optional leading blanks, an optional sign, digits with an optional fraction
// and exponent; trailing text is ignored. Text without such a number (and
// "inf", "nan" or hexadecimal forms) reads as 0; "0x1A" reads as its leading 0.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

/// Correctly rounded straight to single precision (never via a double).
float leadingFloat(std::string_view text);
double leadingDouble(std::string_view text);
/// Saturates at the 32-bit limits, like the platform's integer reading of text.
std::int32_t leadingInt(std::string_view text);

/// Appends `value` with `decimals` places, character for character what
/// printf's "%.Nf" writes: the exact value rounded, ties to even. Prices,
/// volumes and percentages with 0 to 4 places take a short path; values near
/// a tie, very large or with more places take the general one.
void appendFixed(std::string& out, double value, int decimals);
/// The most characters `writeFixed` writes (the largest double takes 312).
inline constexpr std::size_t kFixedTextMax = 400;
/// As appendFixed, written at `at` (room for kFixedTextMax characters); the
/// end of what it wrote.
char* writeFixed(char* at, double value, int decimals);
/// What appendFixed's text of `value` reads back as (`leadingDouble`), found
/// without the text for the short path's values.
double fixedValue(double value, int decimals);

/// printf-style formatting into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orvane
