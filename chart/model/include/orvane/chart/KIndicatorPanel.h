#pragma once
// The panel under the volume band: the vertical range its visible values
// span, and the texts naming the values of one candle at the top of the
// panel and of the volume band. Plain C++; the widgets draw from these.

#include <string>
#include <vector>

#include "orvane/chart/KChartModel.h"

namespace orvane::chart {

inline constexpr float kIndicatorPanelHeight = 90;
/// The legend's line at the top of the panel; the curves stay below it.
inline constexpr float kIndicatorLegendHeight = 16;

/// The panel's value range over the visible candles. MACD: the lowest to
/// the highest of DIF, DEA and the bars, 0 always inside (−1 to 1 when all
/// are 0); KDJ: at least 0 to 100, wider where J goes past. y maps a value to a height above the panel's bottom edge.
struct KIndicatorScale {
    float top = 1;
    float bottom = -1;
    float height = kIndicatorPanelHeight - kIndicatorLegendHeight;
    float y(float value) const { return (value - bottom) / (top - bottom) * height; }
};

KIndicatorScale indicatorScaleOf(const KChartModel& model, float plotHeight);

/// Which line a legend text names: the title, then the lines in the order
/// the averages are coloured (white, yellow, violet).
enum class KLegendColour { Title, First, Second, Third };

struct KLegendText {
    KLegendColour colour;
    std::string text;
    friend bool operator==(const KLegendText&, const KLegendText&) = default;
};

/// "MACD(12,26,9)", "DIF 0.123", "DEA 0.100", "MACD 0.046"; or "KDJ(9,3,3)",
/// "K 55.12", "D 50.10", "J 65.16" for the candle. Nothing for an index
/// outside the list.
std::vector<KLegendText> indicatorLegendOf(const KChartModel& model, int candle);

/// "VOL 12.3万", "MA5 10.2万", "MA10 --" (an average without enough candles).
std::vector<KLegendText> volumeLegendOf(const KChartModel& model, int candle);

}  // namespace orvane::chart
