#pragma once
// Reading a stock history file (header line, then one "date,open,high,low,
// close,volume,..." line per day, newest first) into the chart's day list,
// oldest day first, with the derived values filled in.

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

#include "orvane/chart/KSection.h"

namespace orvane::chart {

/// Files are read up to this size; a longer file is cut at its last whole
/// line below the limit, which keeps its newest days (about 300,000 of them).
inline constexpr std::size_t kHistoryReadLimit = 16u << 20;

/// Accepted days of the text, sorted ascending by date, derived values set.
/// Line 0 (the header) is never read; empty and short lines, and days with a
/// non-positive open, high or close or a low below 1.0, are dropped.
std::vector<KSection> parseKSections(std::string_view text);

/// The same for a file; a missing or unreadable file gives no days.
std::vector<KSection> loadKSections(const std::filesystem::path& path);

}  // namespace orvane::chart
