#include "LineScan.h"

#include <algorithm>

#include "orvane/core/HistoryReader.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane {

namespace {

constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};

// Field 4 as fieldFloat reads it. Plain decimals of up to seven digits
// ("11.98") and whole numbers of up to nineteen ("754189") are read here the
// way the number reader reads them (the digits as an integer, converted once,
// then one single-precision division by the power of ten), so the day lines
// need not go through the general reader; anything else (blanks, signs,
// exponents, text after the number, longer decimals) is left to it.
float priceField(std::string_view field) {
    const char* p = field.data();
    const char* const end = p + field.size();
    std::uint64_t mantissa = 0;
    const char* const whole = p;
    while (p != end && static_cast<unsigned char>(*p - '0') < 10)
        mantissa = mantissa * 10 + static_cast<unsigned char>(*p++ - '0');
    const auto wholeDigits = p - whole;
    if (p == end) {
        if (wholeDigits == 0 || wholeDigits > 19) return fieldFloat(field);
        return static_cast<float>(mantissa);
    }
    if (*p++ != '.') return fieldFloat(field);
    const char* const fraction = p;
    while (p != end && static_cast<unsigned char>(*p - '0') < 10)
        mantissa = mantissa * 10 + static_cast<unsigned char>(*p++ - '0');
    const auto fractionDigits = p - fraction;
    if (p != end || wholeDigits + fractionDigits == 0 || wholeDigits + fractionDigits > 7)
        return fieldFloat(field);
    const float value = static_cast<float>(mantissa);
    return fractionDigits == 0 ? value : value / kPowersOfTen[fractionDigits];
}

// Whether a volume field reads as 10 or more, in single precision.
bool tradedVolume(std::string_view field) {
    return double{priceField(field)} >= 10.0;
}

// Notes the element starts of text[from, to) byte by byte; a newline
// sequence that begins before `to` is finished. Returns where it stopped.
template <typename Add>
std::size_t startsSlowly(std::string_view text, std::size_t from, std::size_t to, Add&& add) {
    std::size_t i = from;
    while (i < to) {
        if (const std::size_t n = newlineAt(text, i)) {
            i += n;
            add(i);
        } else {
            ++i;
        }
    }
    return i;
}

#ifdef __SSE2__

// The bytes of a block from `low` to `high` (fewer than 128 apart) marked,
// in two operations: adding 0x7F - high (wrapping) moves them, and only them,
// to the top of the signed range.
__m128i bytesBetween(__m128i block, unsigned char low, unsigned char high) {
    const auto shift = static_cast<char>(0x7F - high);
    const auto above = static_cast<char>(0x7F - (high - low) - 1);
    return _mm_cmpgt_epi8(_mm_add_epi8(block, _mm_set1_epi8(shift)), _mm_set1_epi8(above));
}

// The lowest n bits, n below 64.
std::uint64_t lowBits(std::uint32_t n) {
    return (std::uint64_t{1} << n) - 1;
}

// Fills a short day line's fields from the places of its commas and digits
// (bit i set for one at byte i).
void readFields(DayLine& line, std::uint64_t commas, std::uint64_t digits, bool ascii) {
    const auto size = static_cast<std::uint32_t>(line.text.size());
    std::uint32_t ends[6];  // where fields 0 to 5 end (the line's end past its last)
    std::uint32_t count = 1;
    for (; commas; commas &= commas - 1, ++count)
        if (count <= 6) ends[count - 1] = static_cast<std::uint32_t>(__builtin_ctzll(commas));
    for (std::uint32_t f = count - 1; f < 6; ++f) ends[f] = size;
    auto field = [&](std::uint32_t f) {
        const std::uint32_t begin = f == 0 ? 0 : ends[f - 1] + 1;
        return line.text.substr(begin, ends[f] - begin);
    };
    line.date = field(kDateField);
    if (count > kOpenField) {
        line.openAt = ends[kOpenField - 1] + 1;
        line.openLength = ends[kOpenField] - line.openAt;
    }
    if (count > kCloseField) line.close = priceField(field(kCloseField));
    if (count > kVolumeField) {
        // A volume in whole digits, the first not 0, is 10 or more when it
        // has two digits or more (no rounding to single precision brings a
        // whole number across 10).
        const std::uint32_t begin = ends[kVolumeField - 1] + 1, n = ends[kVolumeField] - begin;
        const bool whole =
            n > 0 && ((digits >> begin) & lowBits(n)) == lowBits(n) && line.text[begin] != '0';
        line.traded = whole ? n >= 2 : tradedVolume(field(kVolumeField));
    }
    line.fields = count;
    line.length = ascii ? size : static_cast<std::uint32_t>(utf16Length(line.text));
}

#endif

}  // namespace

ElementStarts::ElementStarts(std::string_view text) {
    reserveMore(text.size() / 32 + 2);
    at_[size_++] = 0;
    auto add = [this](std::size_t start) {
        if (size_ == capacity_) reserveMore(capacity_);
        at_[size_++] = start;
    };
    std::size_t i = 0;
#ifdef __SSE2__
    // Thirty-two bytes at a time: ASCII blocks are cut at their LF, VT, FF
    // and CR bytes directly; a block with any other byte (which may begin
    // NEL, LINE or PARAGRAPH SEPARATOR) goes byte by byte, and that may
    // finish a sequence past the block's end: `resume` is where it stopped.
    auto breaks = [](__m128i block) {
        return static_cast<std::uint32_t>(_mm_movemask_epi8(bytesBetween(block, 0x0A, 0x0D)));
    };
    std::size_t resume = 0;
    for (; i + 32 <= text.size(); i += 32) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        const __m128i high =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i + 16));
        if (i < resume || _mm_movemask_epi8(_mm_or_si128(low, high)) != 0) {
            resume = startsSlowly(text, std::max(i, resume), i + 32, add);
            continue;
        }
        std::uint32_t mask = breaks(low) | breaks(high) << 16;
        if (size_ + 32 > capacity_) reserveMore(32);
        // Through a pointer of its own: stores through at_ might be to size_.
        std::size_t* at = at_.get() + size_;
        for (; mask; mask &= mask - 1) *at++ = i + std::size_t(__builtin_ctz(mask)) + 1;
        size_ = static_cast<std::size_t>(at - at_.get());
    }
    i = std::max(i, resume);
#endif
    startsSlowly(text, i, text.size(), add);
}

void ElementStarts::reserveMore(std::size_t more) {
    if (size_ + more <= capacity_) return;
    const std::size_t capacity = std::max(size_ + more, 2 * capacity_);
    auto grown = std::make_unique_for_overwrite<std::size_t[]>(capacity);
    std::copy_n(at_.get(), size_, grown.get());
    at_ = std::move(grown);
    capacity_ = capacity;
}

namespace {

// The general reading of a day line, for the lines the fast one leaves.
void parseDayLine(DayLine& line) {
    const DayLineScan scan =
        scanDayFields(line.text, [&line](std::size_t field, std::string_view value) {
            switch (field) {
                case kDateField:
                    line.date = value;
                    break;
                case kOpenField:
                    line.openAt = static_cast<std::uint32_t>(value.data() - line.text.data());
                    line.openLength = static_cast<std::uint32_t>(value.size());
                    break;
                case kCloseField:
                    line.close = priceField(value);
                    break;
                case kVolumeField:
                    line.traded = tradedVolume(value);
                    break;
                default:
                    break;
            }
        });
    line.fields = static_cast<std::uint32_t>(scan.fields);
    line.length =
        static_cast<std::uint32_t>(scan.ascii ? line.text.size() : utf16Length(line.text));
}

}  // namespace

void readDayLine(DayLine& line, std::size_t readable) {
#ifdef __SSE2__
    const std::size_t size = line.text.size();
    if (size < 64 && readable >= 64) {
        const __m128i comma = _mm_set1_epi8(',');
        std::uint64_t commas = 0, digits = 0;
        __m128i bytes = _mm_setzero_si128();
        for (std::size_t at = 0; at < size; at += 16) {
            const __m128i block =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.text.data() + at));
            auto bits = [&](__m128i marks) {
                return std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(marks))} << at;
            };
            commas |= bits(_mm_cmpeq_epi8(block, comma));
            digits |= bits(bytesBetween(block, '0', '9'));
            bytes = _mm_or_si128(bytes, block);
        }
        const std::uint64_t inLine = lowBits(static_cast<std::uint32_t>(size));
        commas &= inLine;
        digits &= inLine;
        // The last block's bytes past the line count too: a line taken for
        // non-ASCII only has its characters counted one by one.
        const bool high = _mm_movemask_epi8(bytes) != 0;
        readFields(line, commas, digits, high == 0);
        return;
    }
#endif
    (void)readable;
    parseDayLine(line);
}

}  // namespace orvane
