#include "orvane/chart/KPeriod.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "orvane/chart/KDerivedValues.h"

namespace orvane::chart {

namespace {

// The calendar day of a "yyyy-MM-dd" text, or nothing.
std::optional<std::chrono::year_month_day> calendarDay(const std::string& date) {
    if (date.size() < 10 || date[4] != '-' || date[7] != '-') return std::nullopt;
    const auto number = [&date](std::size_t from, std::size_t length) {
        int value = 0;
        for (std::size_t i = from; i < from + length; ++i) {
            if (date[i] < '0' || date[i] > '9') return -1;
            value = value * 10 + (date[i] - '0');
        }
        return value;
    };
    const int y = number(0, 4), m = number(5, 2), d = number(8, 2);
    if (y < 0 || m < 0 || d < 0) return std::nullopt;
    const std::chrono::year_month_day day{std::chrono::year(y),
                                          std::chrono::month(static_cast<unsigned>(m)),
                                          std::chrono::day(static_cast<unsigned>(d))};
    if (!day.ok()) return std::nullopt;
    return day;
}

}  // namespace

const char* periodName(KPeriod period) {
    switch (period) {
        case KPeriod::Week:
            return "周K";
        case KPeriod::Month:
            return "月K";
        case KPeriod::Day:
            break;
    }
    return "日K";
}

KPeriod nextPeriod(KPeriod period) {
    switch (period) {
        case KPeriod::Day:
            return KPeriod::Week;
        case KPeriod::Week:
            return KPeriod::Month;
        case KPeriod::Month:
            break;
    }
    return KPeriod::Day;
}

long periodKeyOf(const std::string& date, KPeriod period) {
    const auto day = calendarDay(date);
    if (!day) return -1;
    const std::chrono::sys_days number{*day};
    switch (period) {
        case KPeriod::Week: {
            // ISO weeks start on Monday: every day of a week shares its Monday.
            const unsigned fromMonday = std::chrono::weekday(number).iso_encoding() - 1;
            return (number - std::chrono::days(fromMonday)).time_since_epoch().count();
        }
        case KPeriod::Month:
            return static_cast<long>(static_cast<int>(day->year())) * 12 +
                   static_cast<long>(static_cast<unsigned>(day->month()));
        case KPeriod::Day:
            break;
    }
    return number.time_since_epoch().count();
}

std::vector<KSection> candlesOfPeriod(const std::vector<KSection>& days, KPeriod period) {
    // Daily candles are the days themselves, derived values included.
    if (period == KPeriod::Day) return days;
    std::vector<KSection> candles;
    {
        long openKey = 0;
        for (const KSection& day : days) {
            const long key = periodKeyOf(day.date, period);
            if (candles.empty() || key < 0 || key != openKey) {
                KSection candle;
                candle.date = day.date;
                candle.openPrice = day.openPrice;
                candle.highPrice = day.highPrice;
                candle.lowPrice = day.lowPrice;
                candle.closePrice = day.closePrice;
                candle.volume = day.volume;
                candles.push_back(std::move(candle));
                openKey = key;
                continue;
            }
            KSection& candle = candles.back();
            candle.date = day.date;
            candle.highPrice = std::max(candle.highPrice, day.highPrice);
            candle.lowPrice = std::min(candle.lowPrice, day.lowPrice);
            candle.closePrice = day.closePrice;
            candle.volume += day.volume;
        }
    }
    calculateRiseFallAndMA(candles);
    return candles;
}

}  // namespace orvane::chart
