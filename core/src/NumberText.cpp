#include "orvane/core/NumberText.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace orvane {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct NumberSpan {
    bool negative = false;
    std::string_view digits;  // the unsigned decimal number, empty when none
    // For short plain decimals: the digits as an integer and the count of
    // significant and fraction digits.
    std::uint64_t mantissa = 0;
    int significant = 0;
    int fraction = 0;
    bool exponent = false;
};

// Finds the extent of the leading decimal number, reading its digits on the way.
NumberSpan scanNumber(std::string_view t) {
    std::size_t i = 0, n = t.size();
    while (i < n && isBlank(t[i])) ++i;
    NumberSpan span;
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        span.negative = t[i] == '-';
        ++i;
    }
    auto digit = [&](char c) {
        if (span.mantissa == 0 && c == '0') return;  // leading zeros are not significant
        if (++span.significant <= 19)
            span.mantissa = span.mantissa * 10 + static_cast<std::uint64_t>(c - '0');
    };
    const std::size_t start = i;
    std::size_t intDigits = 0, fracDigits = 0;
    while (i < n && isDigit(t[i])) digit(t[i++]), ++intDigits;
    if (i < n && t[i] == '.') {
        std::size_t j = i + 1;
        while (j < n && isDigit(t[j])) digit(t[j++]), ++fracDigits;
        if (intDigits + fracDigits > 0) i = j;
    }
    if (intDigits + fracDigits == 0) return {};
    span.fraction = static_cast<int>(fracDigits);
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (t[j] == '+' || t[j] == '-')) ++j;
        if (j < n && isDigit(t[j])) {
            while (j < n && isDigit(t[j])) ++j;
            i = j;
            span.exponent = true;
        }
    }
    span.digits = t.substr(start, i - start);
    return span;
}

locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", nullptr);
    return loc;
}

// Short plain decimals ("11.98", "1367232"): the digits make an integer that
// the type holds exactly, and so does the power of ten, so one correctly
// rounded division gives the correctly rounded value.
template <typename T>
bool convertShortDecimal(const NumberSpan& span, T& value) {
    constexpr int kMaxDigits = std::is_same_v<T, float> ? 7 : 15;
    constexpr int kMaxFraction = std::is_same_v<T, float> ? 10 : 22;
    if (span.exponent || span.significant > kMaxDigits || span.fraction > kMaxFraction)
        return false;
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    value = static_cast<T>(span.mantissa);
    if (span.fraction > 0) value /= static_cast<T>(kPowers[span.fraction]);
    return true;
}

template <typename T>
T convert(std::string_view text) {
    NumberSpan span = scanNumber(text);
    if (span.digits.empty()) return T{0};
    T value{};
    if (convertShortDecimal(span, value)) return span.negative ? -value : value;
    auto [ptr, ec] = std::from_chars(span.digits.data(), span.digits.data() + span.digits.size(),
                                     value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Overflow becomes infinity and underflow zero, as the C library does.
        std::string copy(span.digits);
        if constexpr (std::is_same_v<T, float>)
            value = strtof_l(copy.c_str(), nullptr, cLocale());
        else
            value = strtod_l(copy.c_str(), nullptr, cLocale());
    } else if (ec != std::errc()) {
        return T{0};
    }
    return span.negative ? -value : value;
}

}  // namespace

float leadingFloat(std::string_view text) {
    return convert<float>(text);
}
double leadingDouble(std::string_view text) {
    return convert<double>(text);
}

std::int32_t leadingInt(std::string_view t) {
    std::size_t i = 0, n = t.size();
    while (i < n && isBlank(t[i])) ++i;
    bool negative = false;
    if (i < n && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    std::int64_t v = 0;
    for (; i < n && isDigit(t[i]); ++i) {
        v = v * 10 + (t[i] - '0');
        if (v > std::int64_t{INT_MAX} + 1) {
            v = std::int64_t{INT_MAX} + 1;
            break;
        }
    }
    if (negative) v = -v;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<std::int32_t>(v);
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int size = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    if (size > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, args);
    va_end(args);
    return out;
}

namespace {

constexpr double kScale[] = {1, 10, 100, 1000, 10000};

/// The short path of writeFixed: the magnitude in whole units of the last
/// place, when it is below 2^31. There a double's rounding error (under
/// 2.4e-7) cannot move it across a rounding boundary unless it lies within
/// 1e-6 of a tie, which is left to the exact conversion. Rounding to even is
/// symmetric, so a negative value is its magnitude's text after a minus
/// (printf keeps the minus of a value that rounds to zero, and of -0.0, too).
/// Negative when the value is not for it (a plain number rather than an
/// optional: this runs for every number of a back-test's signals).
std::int64_t shortUnits(double value, int decimals) {
    const double magnitude = std::fabs(value);
    if (decimals < 0 || decimals > 4 || !(magnitude < 2e9)) return -1;
    const double scaled = magnitude * kScale[decimals];
    if (!(scaled < 2147483648.0)) return -1;
    const auto whole = static_cast<std::int64_t>(scaled);  // the floor: it is not negative
    const double fraction = scaled - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) < 1e-6) return -1;
    return whole + (fraction > 0.5 ? 1 : 0);
}

}  // namespace

char* writeFixed(char* at, double value, int decimals) {
    const std::int64_t units = shortUnits(value, decimals);
    if (units < 0)
        return std::to_chars(at, at + kFixedTextMax, value, std::chars_format::fixed, decimals).ptr;
    // The units' digits, two at a time from the right, and at least one
    // before the point.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char digits[12];
    char* const end = digits + sizeof digits;
    char* first = end;
    for (auto rest = static_cast<std::uint32_t>(units);; rest /= 100) {
        first -= 2;
        std::memcpy(first, kPairs + 2 * (rest % 100), 2);
        if (rest < 100) break;
    }
    while (first < end - 1 && *first == '0') ++first;
    while (end - first < decimals + 1) *--first = '0';
    if (std::signbit(value)) *at++ = '-';
    const auto whole = static_cast<std::size_t>(end - first - decimals);
    std::memcpy(at, first, whole);
    at += whole;
    if (decimals > 0) {
        *at++ = '.';
        std::memcpy(at, end - decimals, static_cast<std::size_t>(decimals));
        at += decimals;
    }
    return at;
}

double fixedValue(double value, int decimals) {
    // The text's digits make a whole number of at most ten digits: the reader
    // divides it by the power of ten, once, and so does this.
    if (const std::int64_t units = shortUnits(value, decimals); units >= 0) {
        auto read = static_cast<double>(units);
        if (decimals > 0) read /= kScale[decimals];
        return std::signbit(value) ? -read : read;
    }
    char text[kFixedTextMax];
    return leadingDouble(
        std::string_view(text, static_cast<std::size_t>(writeFixed(text, value, decimals) - text)));
}

void appendFixed(std::string& out, double value, int decimals) {
    char text[kFixedTextMax];
    out.append(text, static_cast<std::size_t>(writeFixed(text, value, decimals) - text));
}

}  // namespace orvane
