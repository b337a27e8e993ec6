#pragma once
// The stock score: long, tight, recent sideways regions and a close just above
// their high earn points on a base of 100. The same computation gives the key
// price, the highest close of the regions.

#include <cstdint>

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/analysis/HistoryLines.h"
#include "orvane/analysis/SidewaysRegion.h"

namespace orvane {

/// Points for a region of `length` days of a kind (none for other kinds).
std::int32_t regionLengthPoints(std::uint32_t kind, std::int32_t length);
/// Points for a region starting `offset` days back: 5 for day 1 down to 1 for day 5.
std::int32_t fileterSlideWaysBefore(std::int32_t offset);
/// Points for the close-to-region-high ratio, by band set.
std::int32_t fileterAngleModel(float ratio, std::uint32_t bandSet);
std::int32_t fileterAngleModelforComposite(float ratio, std::uint32_t bandSet);

/// The longest region of a kind with its length points added to `score`.
LongestRegion getSlideWaysToScore(const HistoryView& history, std::string_view code,
                                  std::uint32_t kind, std::int32_t& score);

/// Sets `score` and returns the key price (index codes: the composite
/// variant, its integer key price as a float).
float calStockScore(const HistoryView& history, const TodayTrade& today, std::int32_t& score);
/// Codes beginning "399" or "510": base 100 plus length, start-day and
/// composite angle points; the key price truncated. Other codes: 0, score
/// untouched.
std::int32_t calStockScoreForComposite(const HistoryView& history, const TodayTrade& today,
                                       std::int32_t& score);

/// A float truncated toward zero as the processor does: out-of-range and
/// undefined values give the lowest 32-bit integer.
std::int32_t truncateToInt(float value);

}  // namespace orvane
