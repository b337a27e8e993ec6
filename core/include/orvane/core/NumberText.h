#pragma once
// Leading-number conversions used by every reader of the server's texts:
// optional leading blanks, an optional sign, digits with an optional fraction
// and exponent; trailing text is ignored. Text without such a number (and
// "inf", "nan" or hexadecimal forms) reads as 0; "0x1A" reads as its leading 0.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

/// Correctly rounded straight to single precision (never via a double).
float leadingFloat(std::string_view text);
double leadingDouble(std::string_view text);
/// Saturates at the 32-bit limits, like the platform's integer reading of text.
std::int32_t leadingInt(std::string_view text);

/// Appends `value` with `decimals` places (0 to 4), character for character
/// what printf's "%.Nf" writes: the exact value rounded, ties to even. Prices
/// and volumes take a short path; values near a tie, very large or negative
/// take the general one.
void appendFixed(std::string& out, double value, int decimals);

/// printf-style formatting into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orvane
