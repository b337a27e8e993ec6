// Loading real daily histories from ../shared/market (skipped without it).

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempDataDir.h"
#include "orvane/chart/KChartModel.h"
#include "orvane/chart/KHistoryLoader.h"
#include "orvane/market/CsvHistory.h"

using namespace orvane::chart;

TEST(KRealMarket, ConvertedHistoriesLoadWholeAndInOrder) {
    const auto market = orvane::test::sharedMarketDir();
    if (market.empty()) GTEST_SKIP() << "no ../shared/market";
    for (const char* code : {"600000", "000001", "000002", "300750"}) {
        std::ifstream in(market / "daily" / (std::string(code) + ".csv"));
        if (!in) continue;
        std::stringstream csv;
        csv << in.rdbuf();
        const orvane::CsvConversion history = orvane::csvToHistoryText(csv.str());
        ASSERT_TRUE(history.error.empty()) << code;
        const auto days = parseKSections(history.history);
        ASSERT_FALSE(days.empty()) << code;
        EXPECT_LE(days.size(), history.days) << code;
        for (std::size_t i = 1; i < days.size(); ++i)
            ASSERT_LT(days[i - 1].date, days[i].date) << code;
        // The newest day of the file is the chart's rightmost column.
        const std::string newest = history.history.substr(history.history.find('\n') + 1, 10);
        KChartModel model(1000, 600);
        model.setDataList(days);
        EXPECT_EQ(model.dataList()[model.visibleStart() + model.visibleCount() - 1].date, newest)
            << code;
    }
}
