#include "orvane/core/HistoryReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane;

using Views = std::vector<std::string_view>;

TEST(HistoryReader, ElementsAreTheNewlineSplitWithEmptyOnesKept) {
    const std::string text = "Date,Open\n2025-09-03,1\r\n\n2025-09-02,2\n";
    EXPECT_EQ(historyElements(text),
              (Views{"Date,Open", "2025-09-03,1", "", "", "2025-09-02,2", ""}));
    EXPECT_EQ(historyElements(""), (Views{""}));
    EXPECT_EQ(historyElements("H\u2028a\u0085b\u2029"), (Views{"H", "a", "b", ""}));

    // The visitor sees the same elements, stops when told, and the elements
    // are views into the text at their places.
    Views seen;
    const std::size_t visited = visitHistoryElements(text, [&](std::size_t i, std::string_view e) {
        seen.push_back(e);
        return i < 2;
    });
    EXPECT_EQ(visited, 3u);
    EXPECT_EQ(seen, (Views{"Date,Open", "2025-09-03,1", ""}));
    EXPECT_EQ(elementOffset(text, seen[1]), 10u);
    EXPECT_EQ(elementOffset(text, seen[2]), 23u);

    EXPECT_EQ(historyElement(text, 4), "2025-09-02,2");
    EXPECT_EQ(historyElement(text, 5), "");  // after the final break
    EXPECT_EQ(historyElement(text, 6), std::nullopt);
    EXPECT_EQ(historyElement("", 0), "");
}

TEST(HistoryReader, FieldsOfDayLines) {
    const std::string_view line = "2025-09-03,11.98,12.30,11.80,12.01,1367232,12.01";
    const Views fields = dayFields(line);
    ASSERT_EQ(fields.size(), kDayLineFields);
    EXPECT_EQ(fields[kDateField], "2025-09-03");
    EXPECT_EQ(fields[kLowField], "11.80");
    EXPECT_EQ(fields[kAdjCloseField], "12.01");
    EXPECT_EQ(dayFieldCount(line), kDayLineFields);

    // Odd lines: empty fields count, an empty line is one empty field, a
    // trailing comma adds an empty last field.
    EXPECT_EQ(dayFields(",,"), (Views{"", "", ""}));
    EXPECT_EQ(dayFields(""), (Views{""}));
    EXPECT_EQ(dayFields("a,"), (Views{"a", ""}));
    EXPECT_EQ(dayFieldCount("a,b,"), 3u);

    Views visited;
    EXPECT_EQ(
        visitDayFields("x,,y", [&](std::size_t, std::string_view f) { visited.push_back(f); }), 3u);
    EXPECT_EQ(visited, (Views{"x", "", "y"}));

    // The same pass tells whether the line is plain ASCII.
    const auto ignore = [](std::size_t, std::string_view) {};
    EXPECT_TRUE(scanDayFields("2025-09-03,1.0", ignore).ascii);
    const DayLineScan chinese = scanDayFields("浦发,1.0,\x7f", ignore);
    EXPECT_FALSE(chinese.ascii);
    EXPECT_EQ(chinese.fields, 3u);
}

TEST(HistoryReader, FieldsAsNumbers) {
    EXPECT_EQ(fieldFloat("11.98"), 11.98f);  // rounded once to single precision
    EXPECT_EQ(fieldDouble("11.98"), 11.98);
    EXPECT_EQ(fieldDouble(" 7.5abc"), 7.5);  // trailing text ignored
    EXPECT_EQ(fieldDouble("null"), 0.0);
    EXPECT_EQ(fieldDouble(""), 0.0);
    EXPECT_EQ(fieldFloat("-2e3"), -2000.0f);
    EXPECT_EQ(fieldWhole("0.97"), 0);  // the whole-number part
    EXPECT_EQ(fieldWhole("12.5"), 12);
    EXPECT_EQ(fieldWhole("99999999999"), 2147483647);
}
