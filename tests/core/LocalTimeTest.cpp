#include "orvane/core/LocalTime.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(LocalTime, ParseDateRequiresWholeFieldAndRealDate) {
    EXPECT_TRUE(parseDate("2025-09-03"));
    EXPECT_TRUE(parseDate("2025-9-3"));
    EXPECT_FALSE(parseDate("2025-02-29"));
    EXPECT_TRUE(parseDate("2024-02-29"));
    EXPECT_FALSE(parseDate("2025-13-01"));
    EXPECT_FALSE(parseDate("2025-09-03x"));
    EXPECT_FALSE(parseDate(" 2025-09-03"));
    EXPECT_FALSE(parseDate("2025-009-03"));
    EXPECT_FALSE(parseDate(""));
    auto d = parseDate("2025-09-05");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->weekday, 5);  // a Friday
}

TEST(LocalTime, CalendarDifferenceClampsMonthEnds) {
    auto from = *parseDate("2025-01-31");
    LocalDateTime to{2025, 3, 3, 10, 0, 0};
    auto diff = calendarDifference(from, to);
    EXPECT_EQ(diff.years, 0);
    EXPECT_EQ(diff.months, 1);
    EXPECT_EQ(diff.days, 3);
}

TEST(LocalTime, CalendarDifferenceYearsThenMonths) {
    // Years are added first (2024-02-29 + 1 year = 2025-02-28), then months.
    auto diff = calendarDifference(*parseDate("2024-02-29"), LocalDateTime{2025, 3, 30, 12, 0, 0});
    EXPECT_EQ(diff.years, 1);
    EXPECT_EQ(diff.months, 1);
    EXPECT_EQ(diff.days, 2);
}

TEST(LocalTime, CalendarDifferenceBackwards) {
    auto diff = calendarDifference(*parseDate("2025-09-10"), LocalDateTime{2025, 9, 8, 10, 0, 0});
    EXPECT_EQ(diff.days, -1);  // 1 day 14 hours back
    diff = calendarDifference(*parseDate("2025-09-08"), LocalDateTime{2025, 9, 8, 10, 0, 0});
    EXPECT_EQ(diff.days, 0);
}

TEST(LocalTime, FormatsAndRoundTrips) {
    LocalDateTime t{2025, 1, 2, 3, 4, 5};
    EXPECT_EQ(formatDateTime(t), "2025-01-02 03:04:05");
    EXPECT_EQ(formatDate(t), "2025-01-02");
    EXPECT_EQ(toLocal(fromLocal(t)), t);
    EXPECT_TRUE(parseDateTime("2025-01-02 03:04:05"));
    EXPECT_FALSE(parseDateTime("2025-01-02 24:04:05"));
}

TEST(LocalTime, FarYearsStayWithinTheClock) {
    auto far = parseDate("5202-03-01");
    ASSERT_TRUE(far);
    EXPECT_EQ(far->weekday, 5);  // 5202-03-01 falls on a Friday
    EXPECT_EQ(parseDate("2025-09-07")->weekday, 0);
    EXPECT_LE(toLocal(fromLocal(*far)).year, 2262);
    EXPECT_GE(toLocal(fromLocal(*parseDate("0001-01-01"))).year, 1677);
}
