#pragma once
// How far a stock has moved: the spread of eleven trading days, the highest
// close since day 2 and the largest single-day rise of the last three days.

#include <cstdint>
#include <string_view>

#include "orvane/analysis/HistoryLines.h"

namespace orvane {

/// High / low of the closes of eleven valid days from `offset` on; 1.0 for
/// index codes; undefined (NaN) when the offset is at or past the last line.
float getMaxRise(const HistoryView& history, std::string_view code, std::int32_t offset);

/// The highest close of the first n + 1 well-formed lines from day 2 on,
/// never below 1.0; 1.0 for index codes and texts under 4 elements.
float getMaxPrice(const HistoryView& history, std::string_view code, std::int32_t lastDay);

/// The largest of day 2 / day 3, day 1 / day 2 and close / previous close.
float getMaxRiseThreedays(const HistoryView& history, float close, float yesClose);

/// Day-to-day rises above 3.5% among the last 225 lines, today included.
std::int32_t calStockBigRises(const HistoryView& history, float close);

}  // namespace orvane
