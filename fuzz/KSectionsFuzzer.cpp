// The chart's day parser on arbitrary bytes, then the chart's model over the
// days it accepts. Every accepted day has real prices by the chart's rules,
// the days come out oldest first, numbered in order, and the model lays out
// and scales them (as days, weeks or months, with the indicator panel's range
// and legends) without reading past its list; weeks and months are never more
// than the days, each with an indicator value set.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/chart/KChartModel.h"
#include "orvane/chart/KHistoryLoader.h"
#include "orvane/chart/KIndicatorPanel.h"
#include "orvane/core/HistoryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane::chart;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto days = parseKSections(text);
    // Every day comes from one element after the header.
    if (days.size() + 1 > orvane::historyElements(text).size() && !days.empty()) __builtin_trap();
    for (std::size_t i = 0; i < days.size(); ++i) {
        const KSection& d = days[i];
        if (d.selectioID != static_cast<std::int32_t>(i)) __builtin_trap();
        if (!(d.openPrice >= 0.001f && d.highPrice >= 0.001f && d.closePrice >= 0.001f))
            __builtin_trap();
        if (i > 0 && compareDate(days[i - 1], d) > 0) __builtin_trap();
    }

    // A view size and zoom taken from the input's length, so runs vary them.
    KChartModel model(static_cast<float>(size % 1400), static_cast<float>(size % 900));
    model.setZoomLevel(static_cast<float>(size % 11));
    model.setDataList(days);
    model.setPeriod(static_cast<KPeriod>(size % 3));
    model.setIndicator(size % 2 ? KIndicator::KDJ : KIndicator::MACD);
    const auto& candles = model.dataList();
    if (candles.size() > days.size() || model.indicatorValues().size() != candles.size())
        __builtin_trap();
    const int visible = model.visibleCount();
    if (visible < 0 || visible > static_cast<int>(candles.size())) __builtin_trap();
    if (visible > 0) {
        const int start = model.visibleStart();
        if (start < 0 || start + visible > static_cast<int>(candles.size())) __builtin_trap();
        model.scale();
        model.currentPriceOfY(static_cast<float>(size % 700));
        indicatorScaleOf(model, 74);
        indicatorLegendOf(model, start + visible - 1);
        volumeLegendOf(model, start);
    }
    return 0;
}
