#include "orvane/market/TradingCalendar.h"

#include <algorithm>
#include <chrono>

#include "ExchangeClosures.h"

namespace orvane {

namespace {

bool isWeekend(const LocalDateTime& day) {
    return day.weekday == 0 || day.weekday == 6;
}

// The fixed holidays of a year whose calendar is not published yet.
bool isFixedHoliday(const LocalDateTime& day) {
    return (day.month == 1 && day.day == 1) || (day.month == 5 && day.day == 1) ||
           (day.month == 10 && day.day <= 7);
}

bool isListedClosure(const LocalDateTime& day) {
    const auto listed = closures::closedWeekdays();
    return std::binary_search(listed.begin(), listed.end(), formatDate(day));
}

// Noon of the day's date: whole days away from it stay on their date across
// a change of the clocks.
TimePoint noonOf(const LocalDateTime& day) {
    LocalDateTime noon = day;
    noon.hour = 12, noon.minute = noon.second = 0;
    return fromLocal(noon);
}

LocalDateTime midnightOf(LocalDateTime day) {
    day.hour = day.minute = day.second = 0;
    return day;
}

}  // namespace

bool isPublishedYear(int year) {
    return year >= closures::firstPublishedYear() && year <= closures::lastPublishedYear();
}

bool isTradingDay(const LocalDateTime& day) {
    // The weekday comes from the date itself, whoever filled the fields.
    const LocalDateTime d = toLocal(noonOf(day));
    if (isWeekend(d)) return false;
    return isPublishedYear(d.year) ? !isListedClosure(d) : !isFixedHoliday(d);
}

LocalDateTime lastTradingDayBefore(const LocalDateTime& now) {
    TimePoint at = noonOf(now) - std::chrono::hours(24);
    while (!isTradingDay(toLocal(at))) at -= std::chrono::hours(24);
    return midnightOf(toLocal(at));
}

std::vector<std::string> tradingDaysEndingOn(const LocalDateTime& last, int count) {
    std::vector<std::string> days;
    days.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (TimePoint at = noonOf(last); static_cast<int>(days.size()) < count;
         at -= std::chrono::hours(24)) {
        const LocalDateTime d = toLocal(at);
        if (isTradingDay(d)) days.push_back(formatDate(d));
    }
    std::reverse(days.begin(), days.end());
    return days;
}

}  // namespace orvane
