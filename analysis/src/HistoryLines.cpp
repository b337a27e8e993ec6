#include "orvane/analysis/HistoryLines.h"

#include "orvane/core/HistoryReader.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane {

namespace {

// Notes the element starts of text[from, to) byte by byte; a newline
// sequence that begins before `to` is finished. Returns where it stopped.
std::size_t startsSlowly(std::string_view text, std::size_t from, std::size_t to,
                         std::vector<std::size_t>& starts) {
    std::size_t i = from;
    while (i < to) {
        if (const std::size_t n = newlineAt(text, i)) {
            i += n;
            starts.push_back(i);
        } else {
            ++i;
        }
    }
    return i;
}

// Bytes of the newline sequence that ends just before `start`, the start of
// an element other than the first: every sequence ends in a byte of its own.
std::size_t newlineBefore(std::string_view text, std::size_t start) {
    switch (static_cast<unsigned char>(text[start - 1])) {
        case 0x85:
            return 2;  // NEL
        case 0xA8:
        case 0xA9:
            return 3;  // LINE, PARAGRAPH SEPARATOR
        default:
            return 1;  // LF, VT, FF, CR
    }
}

// Field 4 or 5 as fieldFloat reads it. Plain decimals ("11.98", "754189")
// are read here the way the number reader reads them (the digits as an
// integer, then one single-precision division by the power of ten; whole
// numbers converted once, which rounds correctly), so the day lines need not
// go through the general reader; anything else (blanks, signs, exponents,
// text after the number, long decimals) is left to it.
float priceField(std::string_view field) {
    static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                        1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    std::uint64_t mantissa = 0;
    int significant = 0, fraction = 0;
    bool dot = false, digits = false;
    for (const char c : field) {
        if (c >= '0' && c <= '9') {
            digits = true;
            fraction += dot;
            if (mantissa == 0 && c == '0') continue;  // leading zeros are not significant
            if (++significant > 19) return fieldFloat(field);
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        } else if (c == '.' && !dot) {
            dot = true;
        } else {
            return fieldFloat(field);
        }
    }
    if (!digits) return fieldFloat(field);
    if (fraction == 0) return static_cast<float>(mantissa);
    if (significant > 7 || fraction > 10) return fieldFloat(field);
    return static_cast<float>(mantissa) / kPowers[fraction];
}

}  // namespace

std::vector<std::size_t> elementStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    starts.reserve(text.size() / 40 + 2);
    starts.push_back(0);
    std::size_t i = 0;
#ifdef __SSE2__
    // Sixteen bytes at a time: ASCII blocks are cut at their LF, VT, FF and
    // CR bytes directly; a block with any other byte (which may begin NEL,
    // LINE or PARAGRAPH SEPARATOR) goes byte by byte, and that may finish a
    // sequence past the block's end: `resume` is where it stopped.
    const __m128i belowLf = _mm_set1_epi8(0x09), aboveCr = _mm_set1_epi8(0x0E);
    std::size_t resume = 0;
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        if (i < resume || _mm_movemask_epi8(block) != 0) {
            resume = startsSlowly(text, std::max(i, resume), i + 16, starts);
            continue;
        }
        const __m128i breaks =
            _mm_and_si128(_mm_cmpgt_epi8(block, belowLf), _mm_cmplt_epi8(block, aboveCr));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(breaks)); mask; mask &= mask - 1)
            starts.push_back(i + static_cast<std::size_t>(__builtin_ctz(mask)) + 1);
    }
    i = std::max(i, resume);
#endif
    startsSlowly(text, i, text.size(), starts);
    return starts;
}

float DayLine::open() const {
    return fieldFloat(text.substr(openAt, openLength));
}

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
                    line.volume = priceField(value);
                    break;
                default:
                    break;
            }
        });
    line.fields = static_cast<std::uint32_t>(scan.fields);
    line.length =
        static_cast<std::uint32_t>(scan.ascii ? line.text.size() : utf16Length(line.text));
}

ParsedHistory::ParsedHistory(std::string_view text) : text_(text), starts_(elementStarts(text)) {
    lines_.reserve(starts_.size());
}

void ParsedHistory::readLinesUpTo(std::size_t last) const {
    for (std::size_t i = lines_.size(); i <= last; ++i) {
        const std::size_t end = i + 1 < starts_.size()
                                    ? starts_[i + 1] - newlineBefore(text_, starts_[i + 1])
                                    : text_.size();
        DayLine& line = lines_.emplace_back();
        line.text = text_.substr(starts_[i], end - starts_[i]);
        parseDayLine(line);
    }
}

void ParsedHistory::countUpTo(std::int64_t upTo) const {
    // A block at a time: the scans reach further step by step.
    constexpr std::int64_t kBlock = 64;
    const auto read = static_cast<std::int64_t>(firstCountedFrom_.size());
    if (upTo <= read) return;
    const std::int64_t end = std::min(size(), std::max(upTo, read + kBlock));
    for (std::int64_t i = read; i < end; ++i) {
        firstCountedFrom_.push_back(static_cast<std::int32_t>(countedClose_.size()));
        const DayLine& day = line(i);
        if (!day.counted()) continue;
        countedClose_.push_back(day.close);
        countedLine_.push_back(static_cast<std::int32_t>(i));
    }
}

std::optional<HistoryView> HistoryView::dayView(std::int64_t k) const {
    const std::int64_t n = size();
    if (n < 2 || k < 1 || k > n - 1) return std::nullopt;
    if (k <= realLines()) return HistoryView(*history_, first_ + k - 1, extras_ + 1);
    return HistoryView(*history_, history_->size(), n - k + 1);
}

}  // namespace orvane
