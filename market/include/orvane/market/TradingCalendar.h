#pragma once
// The Shanghai and Shenzhen exchanges' calendar: which days they trade on.
// They close on weekends and on the public holidays of the closures table
// (ExchangeClosures.cpp); a year the table does not hold closes on weekends
// and on its fixed holidays only (1 January, 1 May, 1 to 7 October).

#include <string>
#include <vector>

#include "orvane/core/LocalTime.h"

namespace orvane {

/// Do the exchanges trade on the date of `day` (its time is ignored)?
bool isTradingDay(const LocalDateTime& day);

/// Does the closures table hold the exchanges' published calendar of `year`?
bool isPublishedYear(int year);

/// The last trading day strictly before the date of `now`, at midnight.
LocalDateTime lastTradingDayBefore(const LocalDateTime& now);

/// The `count` trading days up to and including `last` (when it is one),
/// oldest first, as "yyyy-MM-dd".
std::vector<std::string> tradingDaysEndingOn(const LocalDateTime& last, int count);

}  // namespace orvane
