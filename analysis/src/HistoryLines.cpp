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

// Field 4 or 5 as fieldFloat reads it. Plain decimals of up to seven digits
// ("11.98") and whole numbers of up to nineteen ("754189") are read here the
// way the number reader reads them (the digits as an integer, converted once,
// then one single-precision division by the power of ten), so the day lines
// need not go through the general reader; anything else (blanks, signs,
// exponents, text after the number, longer decimals) is left to it.
float priceField(std::string_view field) {
    static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
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
    return fractionDigits == 0 ? value : value / kPowers[fractionDigits];
}

// Whether a volume field reads as 10 or more, as single precision.
bool tradedVolume(std::string_view field) {
    return double{priceField(field)} >= 10.0;
}

// The lowest n bits.
std::uint64_t lowBits(std::uint32_t n) {
    return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
}

// Fills a day line's fields from the places of its commas and digits (bit i
// set for one at byte i).
void readFields(DayLine& line, std::uint64_t commas, std::uint64_t digits, bool ascii) {
    const auto size = static_cast<std::uint32_t>(line.text.size());
    std::uint32_t ends[6];  // where fields 0 to 5 end (those there are)
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

// parseDayLine for a line of at most 64 bytes whose text may be read on to
// the next multiple of 16 bytes: its commas and non-ASCII bytes are found 16
// at a time.
#ifdef __SSE2__
void parseShortDayLine(DayLine& line) {
    const std::size_t size = line.text.size();
    const __m128i comma = _mm_set1_epi8(','), belowZero = _mm_set1_epi8('0' - 1),
                  aboveNine = _mm_set1_epi8('9' + 1);
    std::uint64_t commas = 0, digits = 0;
    unsigned high = 0;
    for (std::size_t at = 0; at < size; at += 16) {
        const __m128i block =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.text.data() + at));
        const unsigned inLine = size - at >= 16 ? 0xFFFFu : (1u << (size - at)) - 1;
        commas |=
            std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, comma))) &
                          inLine}
            << at;
        const __m128i digit =
            _mm_and_si128(_mm_cmpgt_epi8(block, belowZero), _mm_cmplt_epi8(block, aboveNine));
        digits |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(digit)) & inLine} << at;
        high |= static_cast<unsigned>(_mm_movemask_epi8(block)) & inLine;
    }
    readFields(line, commas, digits, high == 0);
}
#endif

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
#ifdef __SSE2__
        // Day lines run to some 50 bytes, and all but the last few of a text
        // have 16 more bytes of it after them.
        if (line.text.size() <= 64 && starts_[i] + 64 <= text_.size()) {
            parseShortDayLine(line);
            continue;
        }
#endif
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
