#pragma once
// Local wall-clock dates and times: conversion, the program's text patterns
// and the calendar difference the engine's day lag is built on.

#include <optional>
#include <string>
#include <string_view>

#include "orvane/core/Clock.h"

namespace orvane {

struct LocalDateTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int weekday = 4;  // 0 Sunday ... 6 Saturday (filled by toLocal)
    friend auto operator<=>(const LocalDateTime& a, const LocalDateTime& b) {
        return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <=>
               std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
    }
    friend bool operator==(const LocalDateTime& a, const LocalDateTime& b) {
        return (a <=> b) == 0;
    }
};

LocalDateTime toLocal(TimePoint t);
TimePoint fromLocal(const LocalDateTime& local);

/// "yyyy-MM-dd": the whole text must match; month and day take one or two
/// digits; the date must exist. Midnight local time.
std::optional<LocalDateTime> parseDate(std::string_view text);
/// "yyyy-MM-dd HH:mm:ss" (the command line's --now).
std::optional<LocalDateTime> parseDateTime(std::string_view text);

std::string formatDate(const LocalDateTime& t);      // yyyy-MM-dd
std::string formatDateTime(const LocalDateTime& t);  // yyyy-MM-dd HH:mm:ss

int daysInMonth(int year, int month);

/// The calendar difference from `from` to `to` on wall-clock fields: whole
/// years while the result does not pass `to`, then whole months (a day the
/// target month lacks becomes its last day), then whole days. Negative when
/// `to` lies before `from`.
struct CalendarDifference {
    int years = 0, months = 0, days = 0;
};
CalendarDifference calendarDifference(const LocalDateTime& from, const LocalDateTime& to);

}  // namespace orvane
