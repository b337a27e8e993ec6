#include "orvane/chart/KDateAxis.h"

#include <gtest/gtest.h>

#include <chrono>

#include "ChartFixtures.h"

using namespace orvane::chart;
using namespace orvane::chart::test;

namespace {

// Six pixels a character, like a small fixed-width font.
float sixPerCharacter(std::string_view text) {
    return 6.0f * static_cast<float>(text.size());
}

std::vector<std::string> texts(const std::vector<KDateTick>& ticks) {
    std::vector<std::string> out;
    for (const KDateTick& t : ticks) out.push_back(t.text);
    return out;
}

std::chrono::weekday weekdayOf(const std::string& date) {
    const int y = std::stoi(date.substr(0, 4));
    const unsigned m = static_cast<unsigned>(std::stoi(date.substr(5, 2)));
    const unsigned d = static_cast<unsigned>(std::stoi(date.substr(8, 2)));
    return std::chrono::weekday(
        std::chrono::sys_days(std::chrono::year(y) / std::chrono::month(m) / std::chrono::day(d)));
}

}  // namespace

TEST(KDateAxis, LabelsNeverOverlapAndStandOnVisibleDaysAtAnyZoom) {
    for (int days : {20, 200, 1500}) {
        KChartModel model(800, 600);
        model.setDataList(sections(zigzagDays(days)));
        for (float zoom = 0.5f; zoom <= 10; zoom += 0.5f) {
            ASSERT_TRUE(model.setZoomLevel(zoom));
            const auto ticks = dateAxisTicks(model, sixPerCharacter, 800);
            EXPECT_FALSE(ticks.empty()) << days << " days, zoom " << zoom;
            const KChartScale s = model.scale();
            for (std::size_t i = 0; i < ticks.size(); ++i) {
                const KDateTick& t = ticks[i];
                SCOPED_TRACE(testing::Message()
                             << days << " days, zoom " << zoom << ", " << t.text);
                ASSERT_GE(t.day, model.visibleStart());
                ASSERT_LT(t.day, days);
                // Under its own column, and reading that day's date.
                EXPECT_EQ(t.x, s.centre(t.day - model.visibleStart()));
                const std::string& date = model.dataList()[static_cast<std::size_t>(t.day)].date;
                EXPECT_TRUE(date.starts_with(t.text) || date.ends_with(t.text));
                EXPECT_LE(t.x + 2 + sixPerCharacter(t.text), 800);
                if (i > 0) {
                    const KDateTick& before = ticks[i - 1];
                    EXPECT_GE(t.x, before.x + 2 + sixPerCharacter(before.text) + kDateLabelGap);
                }
            }
        }
    }
}

TEST(KDateAxis, MonthStartsAtTheDefaultZoomAndMondaysZoomedIn) {
    // 200 days up to 2024-12-31; 89 of them show, from 2024-10-04.
    KChartModel model(800, 600);
    model.setDataList(sections(zigzagDays(200)));
    const auto months = dateAxisTicks(model, sixPerCharacter, 800);
    EXPECT_EQ(texts(months), (std::vector<std::string>{"2024-11", "2024-12"}));
    EXPECT_EQ(model.dataList()[static_cast<std::size_t>(months[0].day)].date, "2024-11-01");

    // 35 days of 21.5 pixels: a label each Monday, the first with its year.
    ASSERT_TRUE(model.setZoomLevel(10));
    const auto weeks = dateAxisTicks(model, sixPerCharacter, 800);
    ASSERT_GE(weeks.size(), 4u);
    EXPECT_EQ(weeks[0].text.size(), 10u);
    for (std::size_t i = 0; i < weeks.size(); ++i) {
        const std::string& date = model.dataList()[static_cast<std::size_t>(weeks[i].day)].date;
        EXPECT_EQ(weekdayOf(date), std::chrono::Monday) << date;
        if (i > 0) {
            EXPECT_EQ(weeks[i].text, date.substr(5));
        }
    }
}

TEST(KDateAxis, LabelsFollowTheNewestDaysAndSkipUnreadableDates) {
    KChartModel model(800, 600);
    auto days = sections(zigzagDays(200));
    model.setDataList(days);
    const auto before = dateAxisTicks(model, sixPerCharacter, 800);
    // Thirty days fewer: the window moves back a month, and so do the labels.
    model.setDataList(std::vector<KSection>(days.begin(), days.end() - 31));
    EXPECT_EQ(texts(dateAxisTicks(model, sixPerCharacter, 800)),
              (std::vector<std::string>{"2024-10", "2024-11"}));
    ASSERT_EQ(texts(before).back(), "2024-12");

    for (KSection& day : days)
        if (day.date.starts_with("2024-11")) day.date = "bad";
    model.setDataList(days);
    // November unreadable: December still opens a month of its own.
    EXPECT_EQ(texts(dateAxisTicks(model, sixPerCharacter, 800)),
              (std::vector<std::string>{"2024-12"}));
    EXPECT_TRUE(dateAxisTicks(KChartModel(800, 600), sixPerCharacter, 800).empty());
}
