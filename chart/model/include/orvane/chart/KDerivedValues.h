#pragma once
// The values a day takes from the days before it: index, rise/fall, swing and
// the 5-, 10-, 20- and 30-day moving averages of the close.

#include <vector>

#include "orvane/chart/KSection.h"

namespace orvane::chart {

/// Fills selectioID, riseFall, swing and ma5...ma30 of every day of a list
/// sorted oldest first. Single-precision arithmetic throughout; an average
/// that needs more days than exist stays 0, and day 0 has no rise or swing.
void calculateRiseFallAndMA(std::vector<KSection>& days);

}  // namespace orvane::chart
