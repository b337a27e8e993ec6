#pragma once
// Statistics of one window of closes and the window trend code.

#include <cstdint>
#include <span>

#include "orvane/analysis/HistoryLines.h"

namespace orvane {

/// Window trend codes.
enum WindowTrend : std::uint32_t {
    kTrendUnclear = 0,
    kTrendRising = 1,
    kTrendFalling = 2,
    kTrendSideways = 3
};

struct StockBox_Info {
    float minPrice = 0;
    float maxPrice = 0;
    float avgPrice = 0;
    float startPrice = 1.0f;  // close of the newest counted day
    float endPrice = 1.0f;    // close of the oldest counted day
    std::int32_t endIndex = 0;
    std::uint32_t trend = kTrendUnclear;
};

/// The window of at most `days` valid days (at least 5 characters, 7 fields,
/// volume not below 10) from day offset `offset` on, classified.
StockBox_Info windowStatistics(const HistoryView& history, std::int32_t days, std::int32_t offset);

/// windowStatistics of windows from the same offset, `days` ascending, in
/// one pass over their closes: each shorter window is the longest one's
/// running figures as they stand when it is complete, so each box is the
/// one windowStatistics gives.
void windowsFromOneOffset(const HistoryView& history, std::int32_t offset,
                          std::span<const std::int32_t> days, std::span<StockBox_Info> boxes);

/// windowsFromOneOffset, and the window of `laterDays` from `laterOffset`
/// (not before `offset`, both at least 1) in the same pass, returned: the
/// two sums run side by side, each in its own order, so that neither waits
/// for the other.
StockBox_Info windowsFromOneOffset(const HistoryView& history, std::int32_t offset,
                                   std::span<const std::int32_t> days,
                                   std::span<StockBox_Info> boxes, std::int32_t laterDays,
                                   std::int32_t laterOffset);

/// The trend code of a window's statistics over `countedDays` valid days.
std::uint32_t classifyWindow(const StockBox_Info& box, std::int64_t countedDays);

/// The rising rule's limit on high / newest close, by the days counted.
float windowThreshold(std::int64_t countedDays);

}  // namespace orvane
