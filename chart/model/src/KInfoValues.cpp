#include "orvane/chart/KInfoValues.h"

#include "orvane/core/NumberText.h"

namespace orvane::chart {

KInfoValues infoValuesFor(const KSection& day) {
    auto price = [](float p) { return format("%.2f", static_cast<double>(p)); };
    KInfoValues v;
    v.date = day.date;
    v.open = price(day.openPrice);
    v.close = price(day.closePrice);
    v.high = price(day.highPrice);
    v.low = price(day.lowPrice);
    v.volume = format("%.1f万", static_cast<double>(day.volume / 10000.0f));
    v.riseFall = format("%.2f%%", static_cast<double>(day.riseFall));
    v.swing = format("%.2f%%", static_cast<double>(day.swing));
    v.priceColour = day.closePrice >= day.openPrice ? KTextColour::Red : KTextColour::Green;
    v.riseFallColour = day.riseFall >= 0 ? KTextColour::Red : KTextColour::Green;
    return v;
}

}  // namespace orvane::chart
