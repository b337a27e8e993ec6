#pragma once
// The texts and colours the day panel shows for one day.

#include <string>

#include "orvane/chart/KSection.h"

namespace orvane::chart {

enum class KTextColour { White, Red, Green, Yellow, Default };

struct KInfoValues {
    std::string date, open, close, high, low, volume, riseFall, swing;
    KTextColour priceColour = KTextColour::Red;     // open, close, high, low
    KTextColour riseFallColour = KTextColour::Red;  // rise/fall
};

/// Prices "%.2f", red when the close is at least the open (an unchanged day
/// too), else green; volume in units of ten thousand "%.1f万"; rise/fall and
/// swing "%.2f%", rise/fall red when zero or positive, else green.
KInfoValues infoValuesFor(const KSection& day);

}  // namespace orvane::chart
