#include "orvane/core/NumberText.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

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
};

// Finds the extent of the leading decimal number.
NumberSpan scanNumber(std::string_view t) {
    std::size_t i = 0, n = t.size();
    while (i < n && isBlank(t[i])) ++i;
    NumberSpan span;
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        span.negative = t[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t intDigits = 0, fracDigits = 0;
    while (i < n && isDigit(t[i])) ++i, ++intDigits;
    if (i < n && t[i] == '.') {
        std::size_t j = i + 1;
        while (j < n && isDigit(t[j])) ++j, ++fracDigits;
        if (intDigits + fracDigits > 0) i = j;
    }
    if (intDigits + fracDigits == 0) return {};
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (t[j] == '+' || t[j] == '-')) ++j;
        if (j < n && isDigit(t[j])) {
            while (j < n && isDigit(t[j])) ++j;
            i = j;
        }
    }
    span.digits = t.substr(start, i - start);
    return span;
}

locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", nullptr);
    return loc;
}

template <typename T>
T convert(std::string_view text) {
    NumberSpan span = scanNumber(text);
    if (span.digits.empty()) return T{0};
    T value{};
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

}  // namespace orvane
