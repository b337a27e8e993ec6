#include "orvane/core/LocalTime.h"

#include <algorithm>
#include <ctime>

#include "orvane/core/NumberText.h"

namespace orvane {

LocalDateTime toLocal(TimePoint t) {
    std::time_t secs = std::chrono::system_clock::to_time_t(t);
    std::tm tm{};
    localtime_r(&secs, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
            tm.tm_min,         tm.tm_sec,     tm.tm_wday};
}

TimePoint fromLocal(const LocalDateTime& l) {
    std::tm tm{};
    tm.tm_year = l.year - 1900;
    tm.tm_mon = l.month - 1;
    tm.tm_mday = l.day;
    tm.tm_hour = l.hour;
    tm.tm_min = l.minute;
    tm.tm_sec = l.second;
    tm.tm_isdst = -1;
    // The clock counts nanoseconds in 64 bits: it reaches only the years
    // 1678 to 2261, so dates beyond are held at those ends.
    constexpr std::time_t kLimit = 9'000'000'000;
    const std::time_t secs = std::clamp<std::time_t>(std::mktime(&tm), -kLimit, kLimit);
    return std::chrono::system_clock::from_time_t(secs);
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return days[(month - 1) % 12];
}

namespace {

// Days from civil date (proleptic Gregorian), for whole-day counting.
long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

int weekdayOf(int y, int m, int d) {
    const long days = daysFromCivil(y, m, d);  // 1970-01-01 was a Thursday
    return static_cast<int>(((days % 7) + 11) % 7);
}

// Reads 1..maxDigits digits starting at i; advances i.
std::optional<int> readNumber(std::string_view t, std::size_t& i, int minDigits, int maxDigits) {
    int value = 0, count = 0;
    while (i < t.size() && count < maxDigits && t[i] >= '0' && t[i] <= '9') {
        value = value * 10 + (t[i] - '0');
        ++i, ++count;
    }
    if (count < minDigits) return std::nullopt;
    return value;
}

bool expect(std::string_view t, std::size_t& i, char c) {
    if (i >= t.size() || t[i] != c) return false;
    ++i;
    return true;
}

std::optional<LocalDateTime> readDate(std::string_view t, std::size_t& i) {
    auto y = readNumber(t, i, 4, 4);
    if (!y || !expect(t, i, '-')) return std::nullopt;
    auto m = readNumber(t, i, 1, 2);
    if (!m || !expect(t, i, '-')) return std::nullopt;
    auto d = readNumber(t, i, 1, 2);
    if (!d || *m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(*y, *m)) return std::nullopt;
    LocalDateTime out;
    out.year = *y, out.month = *m, out.day = *d;
    return out;
}

}  // namespace

std::optional<LocalDateTime> parseDate(std::string_view text) {
    std::size_t i = 0;
    auto date = readDate(text, i);
    if (!date || i != text.size()) return std::nullopt;
    date->weekday = weekdayOf(date->year, date->month, date->day);
    return date;
}

std::optional<LocalDateTime> parseDateTime(std::string_view text) {
    std::size_t i = 0;
    auto t = readDate(text, i);
    if (!t || !expect(text, i, ' ')) return std::nullopt;
    auto h = readNumber(text, i, 1, 2);
    if (!h || !expect(text, i, ':')) return std::nullopt;
    auto mi = readNumber(text, i, 1, 2);
    if (!mi || !expect(text, i, ':')) return std::nullopt;
    auto s = readNumber(text, i, 1, 2);
    if (!s || i != text.size() || *h > 23 || *mi > 59 || *s > 59) return std::nullopt;
    t->hour = *h, t->minute = *mi, t->second = *s;
    t->weekday = weekdayOf(t->year, t->month, t->day);
    return t;
}

std::string formatDate(const LocalDateTime& t) {
    return format("%04d-%02d-%02d", t.year, t.month, t.day);
}

std::string formatDateTime(const LocalDateTime& t) {
    return format("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
}

namespace {

LocalDateTime addMonths(LocalDateTime t, int months) {
    int total = t.year * 12 + (t.month - 1) + months;
    t.year = total / 12;
    t.month = total % 12 + 1;
    t.day = std::min(t.day, daysInMonth(t.year, t.month));
    return t;
}

CalendarDifference forwardDifference(const LocalDateTime& from, const LocalDateTime& to) {
    CalendarDifference diff;
    LocalDateTime anchor = from;
    while (true) {
        LocalDateTime next = addMonths(from, (diff.years + 1) * 12);
        if (next > to) break;
        ++diff.years;
        anchor = next;
    }
    const LocalDateTime yearAnchor = anchor;
    while (true) {
        LocalDateTime next = addMonths(yearAnchor, diff.months + 1);
        if (next > to) break;
        ++diff.months;
        anchor = next;
    }
    long days = daysFromCivil(to.year, to.month, to.day) -
                daysFromCivil(anchor.year, anchor.month, anchor.day);
    // The last day only counts when its time of day has been reached.
    auto timeOf = [](const LocalDateTime& t) { return t.hour * 3600 + t.minute * 60 + t.second; };
    if (days > 0 && timeOf(to) < timeOf(anchor)) --days;
    diff.days = static_cast<int>(days);
    return diff;
}

}  // namespace

CalendarDifference calendarDifference(const LocalDateTime& from, const LocalDateTime& to) {
    if (to >= from) return forwardDifference(from, to);
    CalendarDifference back = forwardDifference(to, from);
    return {-back.years, -back.months, -back.days};
}

}  // namespace orvane
