#include "orvane/chart/KIndicatorPanel.h"

#include <algorithm>
#include <cmath>

#include "orvane/core/NumberText.h"

namespace orvane::chart {

namespace {

bool isCandle(const KChartModel& model, int candle) {
    return candle >= 0 && candle < static_cast<int>(model.indicatorValues().size());
}

std::string volumeText(float volume) {
    return format("%.1f万", static_cast<double>(volume) / 10000.0);
}

}  // namespace

KIndicatorScale indicatorScaleOf(const KChartModel& model, float plotHeight) {
    KIndicatorScale s;
    s.height = plotHeight;
    const int n = model.visibleCount();
    const int start = model.visibleStart();
    const auto& values = model.indicatorValues();
    if (model.indicator() == KIndicator::KDJ) {
        s.top = 100;
        s.bottom = 0;
        for (int c = start; c < start + n; ++c) {
            const KIndicatorValues& v = values[static_cast<std::size_t>(c)];
            s.top = std::max({s.top, v.k, v.d, v.j});
            s.bottom = std::min({s.bottom, v.k, v.d, v.j});
        }
        return s;
    }
    // From the lowest to the highest value, 0 always inside: the zero line
    // stands where the bars start.
    s.top = 0;
    s.bottom = 0;
    for (int c = start; c < start + n; ++c) {
        const KIndicatorValues& v = values[static_cast<std::size_t>(c)];
        s.top = std::max({s.top, v.dif, v.dea, v.macd});
        s.bottom = std::min({s.bottom, v.dif, v.dea, v.macd});
    }
    // A flat series still gets a range, with 0 in the middle.
    if (!(s.top > s.bottom)) {
        s.top = 1;
        s.bottom = -1;
    }
    return s;
}

std::vector<KLegendText> indicatorLegendOf(const KChartModel& model, int candle) {
    if (!isCandle(model, candle)) return {};
    const KIndicatorValues& v = model.indicatorValues()[static_cast<std::size_t>(candle)];
    const auto value = [](const char* name, float x, const char* form) {
        return std::string(name) + " " + format(form, static_cast<double>(x));
    };
    if (model.indicator() == KIndicator::KDJ)
        return {{KLegendColour::Title, "KDJ(9,3,3)"},
                {KLegendColour::First, value("K", v.k, "%.2f")},
                {KLegendColour::Second, value("D", v.d, "%.2f")},
                {KLegendColour::Third, value("J", v.j, "%.2f")}};
    return {{KLegendColour::Title, "MACD(12,26,9)"},
            {KLegendColour::First, value("DIF", v.dif, "%.3f")},
            {KLegendColour::Second, value("DEA", v.dea, "%.3f")},
            {KLegendColour::Third, value("MACD", v.macd, "%.3f")}};
}

std::vector<KLegendText> volumeLegendOf(const KChartModel& model, int candle) {
    if (!isCandle(model, candle)) return {};
    const KIndicatorValues& v = model.indicatorValues()[static_cast<std::size_t>(candle)];
    const auto average = [](const char* name, float x) {
        return std::string(name) + " " + (x > 0 ? volumeText(x) : std::string("--"));
    };
    return {{KLegendColour::Title,
             "VOL " + volumeText(model.dataList()[static_cast<std::size_t>(candle)].volume)},
            {KLegendColour::First, average("MA5", v.volumeMa5)},
            {KLegendColour::Second, average("MA10", v.volumeMa10)}};
}

}  // namespace orvane::chart
