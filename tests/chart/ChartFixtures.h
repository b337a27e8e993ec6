#pragma once
// Synthetic days for the chart tests, written as a history file text.

#include <string>
#include <vector>

#include "orvane/chart/KSection.h"

namespace orvane::chart::test {

struct Day {
    float open, high, low, close, volume;
};

/// A history text (header, newest first) of the days given oldest first,
/// one calendar day apart up to 2024-12-31.
std::string historyText(const std::vector<Day>& days);

/// The days as the loader reads them from that text.
std::vector<KSection> sections(const std::vector<Day>& days);

/// n days rising gently from 10.0 with varying volume, every other day falling.
std::vector<Day> zigzagDays(int n);

}  // namespace orvane::chart::test
