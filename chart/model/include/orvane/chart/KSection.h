#pragma once
// One trading day of a chart: the prices read from the history file and the
// values derived from the days before it.

#include <cstdint>
#include <string>

#include "orvane/chart/KGeometry.h"

namespace orvane::chart {

struct KSection {
    std::int32_t selectioID = 0;  // index in the sorted list, 0 = oldest
    std::string date;             // "yyyy-MM-dd" as the file gives it
    float openPrice = 0;
    float closePrice = 0;
    float highPrice = 0;
    float lowPrice = 0;
    float volume = 0;
    float riseFall = 0;  // close against the previous close, percent
    float swing = 0;     // (high - low) against the previous close, percent
    float ma5 = 0;       // moving averages of the close; 0 = not defined that day
    float ma10 = 0;
    float ma20 = 0;
    float ma30 = 0;
    KRect sectionRect;  // candle body last laid out; zero until then
};

/// Case-insensitive comparison of the two date texts: negative, 0 or positive.
int compareDate(const KSection& a, const KSection& b);

}  // namespace orvane::chart
