#pragma once
// The marks of ex-rights days in unadjusted prices: an open further below
// the day before's close than the board's limit allows. Without adjustment
// such a day reads as a crash, so a publisher lists them and points at the
// adjustment.

#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/CsvHistory.h"

namespace orvane {

struct SuspectGap {
    std::string date;
    double openMove = 0;  // the open over the close before, minus 1 ("-0.48")
    double limit = 0;     // the day's limit ("0.1")
};

/// Whether a day opening at `open` after a close of `before` looks like an
/// unadjusted ex-rights day under a daily limit of `limit`.
bool opensBeyondLimitDown(double open, double before, double limit);

/// The days of `bars` (oldest first) that open below the close before by
/// more than the day's limit (half a point of slack for the cent). A stock
/// `listedInData` (its first bar comes after the data's first day) is free
/// of limits in its first days where the rules say so.
std::vector<SuspectGap> suspectExRightsGaps(std::string_view code,
                                            const std::vector<DailyBar>& bars, bool st,
                                            bool listedInData);

/// "603xxx 2023-05-10: −48% at the open, beyond the 10% limit".
std::string describeGap(std::string_view code, const SuspectGap& gap);

}  // namespace orvane
