#pragma once
// When the market information runs on its own: weekdays, at fixed minutes of
// the trading day (and once late in the evening), in the seconds 21 to 24 of
// the minute, so that a clock checked once a second hits each minute.

#include <optional>
#include <string>

#include "orvane/core/LocalTime.h"

namespace orvane {

/// Whether the local moment is on the market-report schedule.
bool isOnMarketReportSchedule(const LocalDateTime& now);

/// The line the schedule writes to standard output on a hit: "%d%d%d " of
/// year, month and day, then "%s %d:%d:%d" of the weekday's English
/// abbreviation and the time, no leading zeros.
std::string marketReportScheduleLine(const LocalDateTime& now);

}  // namespace orvane
