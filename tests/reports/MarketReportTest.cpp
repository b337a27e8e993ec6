#include "orvane/reports/MarketReport.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDataDir.h"
#include "orvane/analysis/AnalysisSession.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {
Value listOf(int first, int count, double yesClose, double close) {
    Array list;
    for (int i = 0; i < count; ++i)
        list.push_back(Dictionary{{k::STOCK_Code, std::to_string(first + i)},
                                  {k::STOCK_YesClosePrice, format("%.2f", yesClose)},
                                  {k::STOCK_closePrice, format("%.2f", close)}});
    return Value(std::move(list));
}

// Two groups of ten; six estate stocks rise 5 %, five bank stocks fall 5 %;
// a bank stock is held.
void writeDayOfTwoGroups(const std::filesystem::path& dataDir) {
    const auto plate = dataDir / "constdata/plate";
    std::filesystem::create_directories(plate);
    std::filesystem::create_directories(dataDir / "constdata/composit");
    {
        std::ofstream banks(plate / "银行.txt"), estate(plate / "地产.txt");
        for (int i = 0; i < 10; ++i) banks << 600000 + i << "\n";
        for (int i = 0; i < 10; ++i) estate << 600100 + i << "\n";
    }
    const auto gains = QXUtility::getGainsPath();
    writePropertyList(gains / "todayStr_SortUp_SH.plist", listOf(600100, 6, 10, 10.5));
    writePropertyList(gains / "todayStr_SortUp_SZ.plist", Value(Array{}));
    writePropertyList(gains / "todayStr_SortDown_SH.plist", listOf(600000, 5, 10, 9.5));
    writePropertyList(gains / "todayStr_SortDown_SZ.plist", Value(Array{}));
    std::ofstream(QXUtility::getHoldStockPath() / "600009.txt") << "x";
}
}  // namespace

TEST(MarketReport, ScoresWritesReportsAndSignalsHeldStocks) {
    test::TempDataDir dir;
    writeDayOfTwoGroups(dir.path());
    const auto gains = QXUtility::getGainsPath();
    std::vector<Notification> notes;
    ScopedObserver observer(NotificationBus::shared(), notifications::Notifiation_Stock_rasieDown,
                            [&](const Notification& n) { notes.push_back(n); });
    QXUtility engine;
    AnalysisSession session(engine);
    std::string risingReport;
    const StyledText line = calMarketScore(session, risingReport);

    EXPECT_NE(risingReport.find("1: 地产 板块 总共10只股票，60.0% 股票上涨"), std::string::npos);
    EXPECT_EQ(*readFile(gains / "todayStr.txt"), risingReport);
    EXPECT_NE(readFile(gains / "todayStr_Down.txt")
                  ->find("1: 银行 板块 总共10只股票，50.0%（5只）股票下跌"),
              std::string::npos);
    EXPECT_EQ(readPropertyList(gains / "todayplte_SortDown.Plist")->array().size(), 1u);
    // 100 + 6 x trunc(5 - 2.5) + (10 x 1 - 10) + 5 x trunc(-5.5 x 1.111) + (10 - 10 x 1).
    EXPECT_EQ(session.getMarkScore(), 100 + 12 + 0 - 30 + 0);
    EXPECT_NE(line.text.find(
                  "1个板块有效上涨,1个板块下跌; 上涨 6只 下跌 5只 涨跌比例 1.20:1 ;市场分数:82 ;"),
              std::string::npos);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].object, &engine);
    EXPECT_NE(notes[0].userInfo.at(StockSellSignal).string().find("银行板块"), std::string::npos);
    EXPECT_NE(notes[0].userInfo.at(StockSellSignal).string().find("600009"), std::string::npos);

    // A sector report on its own adds to the session's score.
    std::int32_t strong = 0;
    marketReportAnalyse_SortUP(session, Array{}, strong);
    EXPECT_EQ(session.getMarkScore(), 72);
}
