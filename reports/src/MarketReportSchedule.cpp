#include "orvane/reports/MarketReportSchedule.h"

#include <algorithm>
#include <array>
#include <utility>

#include "orvane/core/NumberText.h"

namespace orvane {

namespace {
constexpr std::array<std::pair<int, int>, 17> kMinutes = {{{9, 40},
                                                           {10, 0},
                                                           {10, 15},
                                                           {10, 30},
                                                           {10, 45},
                                                           {10, 50},
                                                           {11, 0},
                                                           {12, 10},
                                                           {13, 15},
                                                           {13, 30},
                                                           {13, 47},
                                                           {14, 2},
                                                           {14, 17},
                                                           {14, 32},
                                                           {14, 45},
                                                           {15, 10},
                                                           {23, 30}}};
constexpr std::array<const char*, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
}  // namespace

bool isOnMarketReportSchedule(const LocalDateTime& now) {
    if (now.weekday < 1 || now.weekday > 5) return false;
    if (now.second < 21 || now.second > 24) return false;
    return std::find(kMinutes.begin(), kMinutes.end(), std::pair{now.hour, now.minute}) !=
           kMinutes.end();
}

std::string marketReportScheduleLine(const LocalDateTime& now) {
    const char* day =
        now.weekday >= 0 && now.weekday < 7 ? kWeekdays[static_cast<std::size_t>(now.weekday)] : "";
    return format("%d%d%d ", now.year, now.month, now.day) +
           format("%s %d:%d:%d\n", day, now.hour, now.minute, now.second);
}

}  // namespace orvane
