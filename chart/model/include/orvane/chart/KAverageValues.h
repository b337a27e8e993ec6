#pragma once
// The moving averages' legend at the chart's top left: "MA5 x.xx  MA10 x.xx
// MA20 x.xx" for the crosshair's day, or the newest day without a crosshair.

#include <array>
#include <string>

#include "orvane/chart/KChartModel.h"
#include "orvane/chart/KSection.h"

namespace orvane::chart {

enum class KAverage { MA5, MA10, MA20 };

struct KAverageText {
    KAverage average;
    std::string text;  // "MA5 12.34", or "MA5 --" before the average has enough days
};

std::array<KAverageText, 3> averageTextsFor(const KSection& day);

/// The day the legend describes: the focus day, else the newest; -1 without days.
int legendDayOf(const KChartModel& model);

}  // namespace orvane::chart
