// The exchanges' closures, the one table of them: every weekday on which the
// Shanghai and Shenzhen exchanges do not trade, year by year. Weekends are
// always closed and are not listed (the make-up working weekends of the
// public holidays are no trading days either).
//
// From 2022-01-04 to 2025-09 these are the weekdays on which no stock of the
// market traded; 2022-01-03 and the days from 2025-10 on come from the
// exchanges' published holiday calendars (New Year, Spring Festival,
// Qingming, Labour Day, Dragon Boat, Mid-Autumn, National Day). A year after
// the last one here is not published yet: it closes on weekends and on its
// fixed holidays only (1 January, 1 May, 1 to 7 October; TradingCalendar.cpp).
// Once the exchanges publish a year, add its closures here and move
// kLastPublishedYear on.

#include "ExchangeClosures.h"

#include <algorithm>
#include <iterator>

namespace orvane::closures {

namespace {

constexpr int kFirstPublishedYear = 2022;
constexpr int kLastPublishedYear = 2026;

constexpr std::string_view kClosedWeekdays[] = {
    // 2022
    "2022-01-03",                                                          // New Year
    "2022-01-31", "2022-02-01", "2022-02-02", "2022-02-03", "2022-02-04",  // Spring Festival
    "2022-04-04", "2022-04-05",                                            // Qingming
    "2022-05-02", "2022-05-03", "2022-05-04",                              // Labour Day
    "2022-06-03",                                                          // Dragon Boat
    "2022-09-12",                                                          // Mid-Autumn
    "2022-10-03", "2022-10-04", "2022-10-05", "2022-10-06", "2022-10-07",  // National Day
    // 2023
    "2023-01-02",                                                          // New Year
    "2023-01-23", "2023-01-24", "2023-01-25", "2023-01-26", "2023-01-27",  // Spring Festival
    "2023-04-05",                                                          // Qingming
    "2023-05-01", "2023-05-02", "2023-05-03",                              // Labour Day
    "2023-06-22", "2023-06-23",                                            // Dragon Boat
    "2023-09-29",                                                          // Mid-Autumn
    "2023-10-02", "2023-10-03", "2023-10-04", "2023-10-05", "2023-10-06",  // National Day
    // 2024
    "2024-01-01",  // New Year
    "2024-02-09", "2024-02-12", "2024-02-13", "2024-02-14", "2024-02-15",
    "2024-02-16",                                                          // Spring Festival
    "2024-04-04", "2024-04-05",                                            // Qingming
    "2024-05-01", "2024-05-02", "2024-05-03",                              // Labour Day
    "2024-06-10",                                                          // Dragon Boat
    "2024-09-16", "2024-09-17",                                            // Mid-Autumn
    "2024-10-01", "2024-10-02", "2024-10-03", "2024-10-04", "2024-10-07",  // National Day
    // 2025
    "2025-01-01",  // New Year
    "2025-01-28", "2025-01-29", "2025-01-30", "2025-01-31", "2025-02-03",
    "2025-02-04",                              // Spring Festival
    "2025-04-04",                              // Qingming
    "2025-05-01", "2025-05-02", "2025-05-05",  // Labour Day
    "2025-06-02",                              // Dragon Boat
    "2025-10-01", "2025-10-02", "2025-10-03", "2025-10-06", "2025-10-07",
    "2025-10-08",  // National Day with Mid-Autumn
    // 2026
    "2026-01-01", "2026-01-02",  // New Year
    "2026-02-16", "2026-02-17", "2026-02-18", "2026-02-19", "2026-02-20",
    "2026-02-23",                                                          // Spring Festival
    "2026-04-06",                                                          // Qingming
    "2026-05-01", "2026-05-04", "2026-05-05",                              // Labour Day
    "2026-06-19",                                                          // Dragon Boat
    "2026-09-25",                                                          // Mid-Autumn
    "2026-10-01", "2026-10-02", "2026-10-05", "2026-10-06", "2026-10-07",  // National Day
};
// Looked up by binary search.
static_assert(std::is_sorted(std::begin(kClosedWeekdays), std::end(kClosedWeekdays)));

}  // namespace

int firstPublishedYear() {
    return kFirstPublishedYear;
}

int lastPublishedYear() {
    return kLastPublishedYear;
}

std::span<const std::string_view> closedWeekdays() {
    return kClosedWeekdays;
}

}  // namespace orvane::closures
