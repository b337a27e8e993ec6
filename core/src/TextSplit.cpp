#include "orvane/core/TextSplit.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvane {

namespace {

// Splits text[from, to) byte by byte, continuing the element that starts at
// `start`; a newline sequence that begins before `to` is finished. Returns
// where it stopped.
std::size_t splitSlowly(std::string_view text, std::size_t from, std::size_t to, std::size_t& start,
                        std::vector<std::string_view>& out) {
    std::size_t i = from;
    while (i < to) {
        if (std::size_t n = newlineAt(text, i)) {
            out.push_back(text.substr(start, i - start));
            i += n;
            start = i;
        } else {
            ++i;
        }
    }
    return i;
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> out;
    out.reserve(text.size() / 40 + 2);
    std::size_t start = 0, i = 0;
#ifdef __SSE2__
    // Sixteen bytes at a time: line feeds are cut directly; a block holding
    // any other possible newline byte (VT, FF, CR, or the lead bytes of NEL,
    // LINE and PARAGRAPH SEPARATOR) goes through the byte-wise path.
    const __m128i lf = _mm_set1_epi8('\n'), vt = _mm_set1_epi8(0x0B), ff = _mm_set1_epi8(0x0C),
                  cr = _mm_set1_epi8(0x0D), c2 = _mm_set1_epi8(static_cast<char>(0xC2)),
                  e2 = _mm_set1_epi8(static_cast<char>(0xE2));
    // The byte-wise path may finish a sequence past its block's end; `resume`
    // is where it stopped.
    std::size_t resume = 0;
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        const __m128i rare = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, vt), _mm_cmpeq_epi8(block, ff)),
                         _mm_cmpeq_epi8(block, cr)),
            _mm_or_si128(_mm_cmpeq_epi8(block, c2), _mm_cmpeq_epi8(block, e2)));
        if (i < resume || _mm_movemask_epi8(rare) != 0) {
            resume = splitSlowly(text, std::max(i, resume), i + 16, start, out);
            continue;
        }
        for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
             mask; mask &= mask - 1) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            out.push_back(text.substr(start, at - start));
            start = at + 1;
        }
    }
    i = std::max(i, resume);
#endif
    splitSlowly(text, i, text.size(), start, out);
    out.push_back(text.substr(start));
    return out;
}

std::vector<std::string_view> splitLinesBytewise(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    splitSlowly(text, 0, text.size(), start, out);
    out.push_back(text.substr(start));
    return out;
}

std::vector<std::string_view> splitOn(std::string_view text, char separator) {
    std::vector<std::string_view> out;
    splitOnInto(text, separator, out);
    return out;
}

void splitOnInto(std::string_view text, char separator, std::vector<std::string_view>& parts) {
    parts.clear();
    std::size_t start = 0;
    for (std::size_t i = text.find(separator); i != std::string_view::npos;
         i = text.find(separator, start)) {
        parts.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    parts.push_back(text.substr(start));
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
