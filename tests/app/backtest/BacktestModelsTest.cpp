// The back-test window's pure parts against results made by hand: the
// summary and signal tables' cells and sorting, the boxes of the
// distribution plot, a history cut after a signal, and the window's words.

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <cmath>
#include <tuple>

#include "TempDataDir.h"
#include "backtest/BacktestCharts.h"
#include "backtest/BacktestMarket.h"
#include "backtest/BacktestSignalModel.h"
#include "backtest/BacktestSummaryModel.h"
#include "backtest/BacktestTexts.h"
#include "common/StockCodeRole.h"
#include "orvane/core/AtomicFile.h"

using namespace orvane;
using namespace orvane::app;
using namespace orvane::backtest;

namespace {

Signal signal(std::uint32_t stock, std::uint32_t day, int trend, float ret, float excess) {
    Signal s;
    s.stock = stock;
    s.day = day;
    s.trend = trend;
    s.score = 90 + static_cast<int>(day);
    s.entryPrice = 10;
    s.outcomes[0] = {ret, excess, std::min(ret, 0.0f)};
    return s;
}

GroupSummary trendGroup(std::string key, std::size_t verdicts, HorizonFigures f) {
    GroupSummary g;
    g.grouping = Grouping::Trend;
    g.key = std::move(key);
    g.verdicts = verdicts;
    g.horizons = {f};
    return g;
}

// Two stocks over three days; 1000 twice (one without an outcome), 1 once.
std::shared_ptr<const Results> handMadeResults() {
    auto r = std::make_shared<Results>();
    r->options.horizons = {10};
    r->stocks = {{"600001", "甲股份"}, {"000002", "乙科技"}};
    r->days = {"2025-03-03", "2025-03-04", "2025-03-05"};
    r->signals = {signal(0, 2, 1000, 0.08f, 0.05f), signal(0, 1, 1, -0.02f, -0.01f),
                  signal(1, 0, 1000, kNoFigure, kNoFigure)};
    // As a run lists them: trend codes by number.
    r->groups = {trendGroup("1", 1, {10, 1, 0, -0.02, -0.02, 0, -0.01, -0.02}),
                 trendGroup("3", 4, {10, 0, 4, 0, 0, 0, 0, 0}),
                 trendGroup("1000", 2, {10, 1, 1, 0.08, 0.08, 1, 0.05, 0})};
    // 1000's interval excludes 0, 1's does not.
    auto interval = [&](std::size_t g, double low, double high, double p) {
        HorizonFigures& f = r->groups[g].horizons[0];
        std::tie(f.excessLow, f.excessHigh, f.excessP) = std::tuple(low, high, p);
    };
    interval(0, -0.05, 0.01, 0.3);
    interval(2, 0.01, 0.09, 0.004);
    return r;
}

QString cell(const QAbstractItemModel& m, int row, int column, int role = Qt::DisplayRole) {
    return m.data(m.index(row, column), role).toString();
}

}  // namespace

TEST(BacktestTables, SummaryAndSignalsOfHandMadeResults) {
    const auto results = handMadeResults();
    BacktestSummaryModel summary;
    summary.show(results, Grouping::Trend, 0);
    ASSERT_EQ(summary.rowCount(), 3);
    using S = BacktestSummaryModel;
    EXPECT_EQ(cell(summary, 2, S::GroupKey), "1000");
    EXPECT_EQ(cell(summary, 2, S::Label), "正在加速上涨");
    EXPECT_EQ(cell(summary, 2, S::Verdicts), "2");
    EXPECT_EQ(cell(summary, 2, S::Signals), "1");
    EXPECT_EQ(cell(summary, 2, S::Mean), "+8.00%");
    EXPECT_EQ(cell(summary, 2, S::PositiveShare), "100.00%");
    EXPECT_EQ(cell(summary, 2, S::Excess), "+5.00%");
    EXPECT_EQ(cell(summary, 0, S::WorstDrawdown), "-2.00%");
    EXPECT_EQ(cell(summary, 2, S::ExcessInterval), "[+1.00%,+9.00%]");
    EXPECT_EQ(cell(summary, 2, S::ExcessP), "0.004");
    EXPECT_EQ(cell(summary, 1, S::ExcessInterval), "—");
    // Only the group whose interval excludes 0 is marked.
    for (int column : {S::Excess, S::ExcessInterval}) {
        EXPECT_TRUE(summary.data(summary.index(2, column), Qt::FontRole).value<QFont>().bold());
        EXPECT_FALSE(summary.data(summary.index(0, column), Qt::FontRole).value<QFont>().bold());
    }
    // A group whose horizons are all incomplete has counts but no figures.
    EXPECT_EQ(cell(summary, 1, S::Verdicts), "4");
    EXPECT_EQ(cell(summary, 1, S::Mean), "—");
    // Rising red, falling green.
    EXPECT_GT(summary.data(summary.index(2, S::Mean), Qt::ForegroundRole).value<QColor>().red(),
              200);
    EXPECT_LT(summary.data(summary.index(0, S::Mean), Qt::ForegroundRole).value<QColor>().red(),
              50);
    // Sorted by mean, highest first; the group without figures stays last.
    summary.sort(S::Mean, Qt::DescendingOrder);
    EXPECT_EQ(summary.groupAt(0)->key, "1000");
    EXPECT_EQ(summary.groupAt(2)->key, "3");
    summary.sort(S::Mean, Qt::AscendingOrder);
    EXPECT_EQ(summary.groupAt(0)->key, "1");
    EXPECT_EQ(summary.groupAt(2)->key, "3");
    summary.sort(S::GroupKey, Qt::DescendingOrder);  // the run's order, backwards
    EXPECT_EQ(summary.groupAt(0)->key, "1000");
    summary.show(results, Grouping::Trend, 0);  // shown again: the order kept
    EXPECT_EQ(summary.groupAt(0)->key, "1000");

    BacktestSignalModel signalRows;
    using R = BacktestSignalModel;
    signalRows.show(results, Grouping::Trend, "1000", 0);
    ASSERT_EQ(signalRows.rowCount(), 2);
    // Oldest first, whatever the run's order.
    EXPECT_EQ(cell(signalRows, 0, R::Date), "2025-03-03");
    EXPECT_EQ(cell(signalRows, 0, R::Name), "乙科技");
    EXPECT_EQ(cell(signalRows, 0, R::Return), "—");
    EXPECT_EQ(cell(signalRows, 1, R::Code), "600001");
    EXPECT_EQ(cell(signalRows, 1, R::Return), "+8.00%");
    EXPECT_EQ(cell(signalRows, 1, R::EntryPrice), "10.00");
    EXPECT_EQ(signalRows.headerData(R::Return, Qt::Horizontal, Qt::DisplayRole), "10日收益");
    // Missing figures last in either order.
    signalRows.sort(R::Return, Qt::AscendingOrder);
    EXPECT_EQ(signalRows.signalAt(0)->day, 2u);
    signalRows.sort(R::Code, Qt::DescendingOrder);
    EXPECT_EQ(cell(signalRows, 0, R::Code), "600001");
    signalRows.show(results, Grouping::All, "all", 0);  // another group, the same order
    ASSERT_EQ(signalRows.rowCount(), 3);
    EXPECT_EQ(cell(signalRows, 2, R::Code), "000002");
    // Its rows are stocks to the stock menu and the chart's stepping.
    EXPECT_EQ(stockCodesOf(signalRows), (std::vector<std::string>{"600001", "600001", "000002"}));
}

TEST(BacktestTables, BoxesHistoryCutAndWords) {
    // 0..100: the 5% point 5, quartiles 25 and 75, median 50.
    std::vector<float> values;
    for (int i = 100; i >= 0; --i) values.push_back(static_cast<float>(i));
    const BoxFigures box = boxFigures(values);
    EXPECT_EQ(box.count, 101u);
    EXPECT_DOUBLE_EQ(box.low, 5);
    EXPECT_DOUBLE_EQ(box.lowerQuartile, 25);
    EXPECT_DOUBLE_EQ(box.median, 50);
    EXPECT_DOUBLE_EQ(box.high, 95);
    EXPECT_DOUBLE_EQ(boxFigures({1, 2}).median, 1.5);  // between neighbours
    EXPECT_EQ(boxFigures({}).count, 0u);

    const std::string history =
        "Date,Open,High,Low,Close,Volume,Adj Close\n2025-03-05,1\n2025-03-04,2\n2025-03-03,3\n";
    EXPECT_EQ(historyUntil(history, "2025-03-04"),
              "Date,Open,High,Low,Close,Volume,Adj Close\n2025-03-04,2\n2025-03-03,3\n");
    EXPECT_EQ(historyUntil(history, "2025-03-09"), history);
    EXPECT_EQ(historyUntil(history, "2025-03-01"), "Date,Open,High,Low,Close,Volume,Adj Close\n");
    // CR LF breaks: the cut keeps whole lines and the header's own break.
    EXPECT_EQ(historyUntil("H\r\n2025-03-05,1\r\n2025-03-04,2\r\n", "2025-03-04"),
              "H\r\n2025-03-04,2\r\n");
    EXPECT_EQ(historyUntil("H", "2025-03-04"), "H");
    // A daily CSV folder's stock: read again, cut the same way.
    test::TempDataDir dir;
    BacktestMarket csv{{}, dir.path(), dir.path() / "list.csv"};
    writeFileAtomically(dir.path() / "600001.csv",
                        "date,open,close,high,low,volume\n2025-03-03,1,2,2,1,100\n"
                        "2025-03-04,2,3,3,2,100\n2025-03-05,3,4,4,3,100\n");
    const auto cut = stockHistoryUntil(csv, "600001", "2025-03-04");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->find("2025-03-05"), std::string::npos);
    EXPECT_EQ(cut->find("2025-03-04,2.00,3.00,2.00,3.00,100,3.00"), cut->find('\n') + 1);
    EXPECT_FALSE(stockHistoryUntil(csv, "600002", "2025-03-04"));

    EXPECT_EQ(countText(1834567), "1,834,567");
    EXPECT_EQ(countText(999), "999");
    EXPECT_EQ(percentText(-0.0125, true), "-1.25%");
    EXPECT_EQ(percentText(NAN, true), "—");
    EXPECT_EQ(percentText(-0.00004, true), "0.00%");  // a hair below zero shows no sign
    EXPECT_EQ(percentText(0.00005, true), "+0.01%");
    EXPECT_EQ(groupLabel(Grouping::Month, "2025-03"), "2025年03月");
    // The trend codes in the words of the verdicts, as everywhere else.
    EXPECT_EQ(groupLabel(Grouping::Trend, "-1"), "没有判断出趋势");
    EXPECT_EQ(groupLabel(Grouping::Trend, "3"), "盘整状态");
    EXPECT_EQ(groupKeyText(Grouping::ScoreBand, ">=91"), "≥91");
    EXPECT_EQ(phaseText(false, {Phase::Analysing, 1200, 5000}), "正在逐日分析 1,200/5,000 只股票");
}
