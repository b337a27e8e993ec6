#pragma once
// The days of one stock as an importer found them, in any order and from
// any number of files, put in the order the history keeps: oldest first, a
// date once, no day that cannot be true (DayPlausibility.h).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/CsvHistory.h"

namespace orvane {

/// A day with where it was read: the file (an index into the caller's list
/// of files) and the line, or the record of a binary file, counted from 1.
/// Kept without a text of its own, so that millions of them move and sort
/// as plain numbers.
struct ImportedDay {
    std::uint32_t date = 0;  // YYYYMMDD, a real date
    double open = 0, high = 0, low = 0, close = 0, volume = 0;
    // Where the layout tells them (0: it does not): the exchange's previous
    // close and a vendor's cumulative adjustment factor.
    double previousClose = 0, adjustmentFactor = 0;
    std::uint32_t file = 0;
    std::uint32_t line = 0;

    /// The day as the history keeps it, its date "yyyy-MM-dd".
    DailyBar bar() const;
};

/// YYYYMMDD of a real date written "yyyy-MM-dd" or "YYYYMMDD"; 0 for any
/// other text.
std::uint32_t importedDate(std::string_view text);

struct SettledDays {
    std::vector<DailyBar> bars;  // oldest first
    // A value for each bar when any day had one, else empty (StockSeries).
    std::vector<double> previousCloses, adjustmentFactors;
    struct Refusal {
        std::uint32_t file = 0, line = 0;
        std::string why;  // "...; refused"
    };
    std::vector<Refusal> refused;
};

/// The days sorted by date (files newest first or oldest first need no
/// sort); a date met again is refused, and so is a day that cannot be true
/// or cannot follow the last day kept (a move measured from its close), as
/// our own layout's reader refuses them. `today` is "yyyy-MM-dd".
SettledDays settleDays(std::vector<ImportedDay> days, std::string_view today);

}  // namespace orvane
