#pragma once
// The dates along the bottom of a chart: which visible days get a label and
// what it reads. Labels stand at the starts of calendar periods (years,
// half-years, quarters, months, weeks, days): the finest period whose labels
// all fit side by side is chosen, so the labels are evenly spread, follow
// scrolling and zooming, and never overlap. Plain C++: the width of a text
// is asked of the caller, who knows the font.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/chart/KChartModel.h"

namespace orvane::chart {

inline constexpr float kDateLabelGap = 8;  // least room between two labels

struct KDateTick {
    int day = 0;       // index in the model's day list
    float x = 0;       // the day's column centre, where the label starts
    std::string text;  // "yyyy" for years, "yyyy-MM" for months to half-years, else
                       // "MM-dd", or "yyyy-MM-dd" when it opens a year or the axis
};

using TextWidth = std::function<float(std::string_view text)>;

/// The labels for the model's visible days, left to right. None fit past
/// `axisWidth` (usually the whole view width).
std::vector<KDateTick> dateAxisTicks(const KChartModel& model, const TextWidth& textWidth,
                                     float axisWidth);

}  // namespace orvane::chart
