#pragma once
// A stock's history text taken apart, the one way every reader of it does:
// a header line, then one "date,open,high,low,close,volume,adj close" line a
// day, newest first. Its elements are exactly those of splitting the text on
// every newline character (TextSplit.h): empty elements and the empty element
// after a final line break are kept, so element k is the k-th newest day. A
// day line's fields are its elements split on ","; a field reads as a number
// by the leading-number rules of NumberText.h. Every piece is a view into the
// text it came from. Each reader applies its own rules on top (which lines it
// accepts, which fields it needs, how strict it is).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"

namespace orvane {

/// The fields of a day line, by position.
enum DayField : std::size_t {
    kDateField = 0,
    kOpenField = 1,
    kHighField = 2,
    kLowField = 3,
    kCloseField = 4,
    kVolumeField = 5,
    kAdjCloseField = 6,
};
/// Fields of a complete day line.
inline constexpr std::size_t kDayLineFields = 7;

/// Every element of the text, the header first.
std::vector<std::string_view> historyElements(std::string_view text);

/// Calls visit(index, element) for the elements in order until it returns
/// false, reading the text no further than that; returns how many it visited.
template <typename Visit>
std::size_t visitHistoryElements(std::string_view text, Visit&& visit) {
    std::size_t index = 0, start = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = newlineAt(text, i)) {
            if (!visit(index++, text.substr(start, i - start))) return index;
            i += n;
            start = i;
        } else {
            ++i;
        }
    }
    visit(index++, text.substr(start));
    return index;
}

/// Element `index`, or nothing past the last one.
std::optional<std::string_view> historyElement(std::string_view text, std::size_t index);

/// Where an element starts in the text it was taken from.
inline std::size_t elementOffset(std::string_view text, std::string_view element) {
    return static_cast<std::size_t>(element.data() - text.data());
}

/// What a pass over a day line finds besides its fields.
struct DayLineScan {
    std::size_t fields = 1;  // an empty line has one, empty
    bool ascii = true;       // only ASCII bytes: its length in characters is its size
};

/// Calls visit(index, field) for every field of a day line in order, in one
/// pass over its bytes.
template <typename Visit>
DayLineScan scanDayFields(std::string_view line, Visit&& visit) {
    std::size_t index = 0, start = 0;
    unsigned char bits = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        bits |= static_cast<unsigned char>(c);
        if (c == ',') {
            visit(index++, line.substr(start, i - start));
            start = i + 1;
        }
    }
    visit(index++, line.substr(start));
    return {index, bits < 0x80};
}

/// The same, returning the number of fields.
template <typename Visit>
std::size_t visitDayFields(std::string_view line, Visit&& visit) {
    return scanDayFields(line, std::forward<Visit>(visit)).fields;
}

/// The fields of a day line.
std::vector<std::string_view> dayFields(std::string_view line);
/// How many fields a day line has, without taking them apart.
std::size_t dayFieldCount(std::string_view line);

/// A field as a number: single precision (rounded once, as the engine reads
/// prices), double precision, or its whole-number part (saturating at the
/// 32-bit limits). A field without a leading number reads as 0.
inline float fieldFloat(std::string_view field) {
    return leadingFloat(field);
}
inline double fieldDouble(std::string_view field) {
    return leadingDouble(field);
}
inline std::int32_t fieldWhole(std::string_view field) {
    return leadingInt(field);
}

}  // namespace orvane
