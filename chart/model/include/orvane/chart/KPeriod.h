#pragma once
// The chart's periods: a candle a day, a week or a month. Weeks and months
// are made from the daily candles: the first day's open, the highest high,
// the lowest low, the last day's close and the summed volume, dated with
// the period's last trading day.

#include <string>
#include <vector>

#include "orvane/chart/KSection.h"

namespace orvane::chart {

enum class KPeriod { Day, Week, Month };

/// "日K", "周K", "月K".
const char* periodName(KPeriod period);
/// The next period in the order day, week, month, day.
KPeriod nextPeriod(KPeriod period);

/// The key of the week or month a "yyyy-MM-dd" date falls in: for weeks the
/// day number of that ISO week's Monday, for months yyyy × 12 + month; for
/// days the day number. -1 for a date that cannot be read.
long periodKeyOf(const std::string& date, KPeriod period);

/// The candles of `period` from days sorted oldest first, their derived
/// values (rise/fall, swing, averages) filled in. A day whose date cannot be
/// read is a period of its own.
std::vector<KSection> candlesOfPeriod(const std::vector<KSection>& days, KPeriod period);

}  // namespace orvane::chart
