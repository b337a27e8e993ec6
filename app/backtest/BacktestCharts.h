#pragma once
// The back-test window's two plots, drawn into a chart of Qt Charts: the
// cumulative excess return of each signal group over time against the
// market (the equal-weighted baseline, 0 on this scale), and the spread of a
// horizon's returns per trend code as boxes.

#include <cstddef>
#include <vector>

#include "orvane/backtest/Backtest.h"

class QChart;

namespace orvane::app {

/// A box of returns: the 5% point, the quartiles, the median and the 95%
/// point (linear between neighbours), over `count` values.
struct BoxFigures {
    double low = 0, lowerQuartile = 0, median = 0, upperQuartile = 0, high = 0;
    std::size_t count = 0;
};
/// The box of some values (none: all zero).
BoxFigures boxFigures(std::vector<float> values);

/// Replaces the chart's series and axes with one line a group of `grouping`
/// (the month grouping draws every signal, its months being one line's
/// stretches) at horizon index `h`, dates along the bottom, and the market's
/// line at 0. A line is what buying the group's signals of every day with
/// 1/h of the money and holding them h days earned over the market: the
/// running sum of the days' mean excess, over h.
void drawCumulativeExcess(QChart& chart, const backtest::Results& results,
                          backtest::Grouping grouping, std::size_t h);

/// Replaces the chart's series and axes with a box a trend code of the
/// returns at horizon index `h`.
void drawTrendDistribution(QChart& chart, const backtest::Results& results, std::size_t h);

/// The chart's background, titles, legend, axes and grid in the colours of
/// the scheme shown (the lines keep theirs); after every drawing.
void colourChartForScheme(QChart& chart);

}  // namespace orvane::app
