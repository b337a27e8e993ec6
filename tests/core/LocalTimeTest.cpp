#include "orvane/core/LocalTime.h"

#include <gtest/gtest.h>

#include <array>

using namespace orvane;

TEST(LocalTime, ParseDateRequiresWholeFieldAndRealDate) {
    for (const char* good : {"2025-09-03", "2025-9-3", "2024-02-29"})
        EXPECT_TRUE(parseDate(good)) << good;
    for (const char* bad :
         {"2025-02-29", "2025-13-01", "2025-09-03x", " 2025-09-03", "2025-009-03", ""})
        EXPECT_FALSE(parseDate(bad)) << bad;
    EXPECT_EQ(parseDate("2025-09-05")->weekday, 5);  // a Friday
    EXPECT_EQ(parseDate("2025-09-07")->weekday, 0);
}

TEST(LocalTime, CalendarDifferenceAddsYearsThenMonthsThenDays) {
    struct Case {
        const char* from;
        LocalDateTime to;
        std::array<int, 3> yearsMonthsDays;
    };
    const Case cases[] = {
        {"2025-01-31", {2025, 3, 3, 10, 0, 0}, {0, 1, 3}},   // month ends clamp
        {"2024-02-29", {2025, 3, 30, 12, 0, 0}, {1, 1, 2}},  // 2025-02-28, then months
        {"2025-09-10", {2025, 9, 8, 10, 0, 0}, {0, 0, -1}},  // 1 day 14 hours back
        {"2025-09-08", {2025, 9, 8, 10, 0, 0}, {0, 0, 0}}};
    for (const Case& c : cases) {
        const auto d = calendarDifference(*parseDate(c.from), c.to);
        EXPECT_EQ((std::array{d.years, d.months, d.days}), c.yearsMonthsDays) << c.from;
    }
}

TEST(LocalTime, FormatsAndRoundTripsWithinTheClock) {
    LocalDateTime t{2025, 1, 2, 3, 4, 5};
    EXPECT_EQ(formatDateTime(t), "2025-01-02 03:04:05");
    EXPECT_EQ(formatDate(t), "2025-01-02");
    EXPECT_EQ(toLocal(fromLocal(t)), t);
    EXPECT_TRUE(parseDateTime("2025-01-02 03:04:05"));
    EXPECT_FALSE(parseDateTime("2025-01-02 24:04:05"));
    auto far = parseDate("5202-03-01");
    EXPECT_EQ(far->weekday, 5);  // 5202-03-01 falls on a Friday
    EXPECT_LE(toLocal(fromLocal(*far)).year, 2262);
    EXPECT_GE(toLocal(fromLocal(*parseDate("0001-01-01"))).year, 1677);
}
