#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include "ServedMarketTest.h"
#include "mainwindow/IndexStrip.h"
#include "mainwindow/WebSearchMenu.h"
#include "markettable/MarketTableModel.h"
#include "markettable/MarketTableWindow.h"
#include "orvane/chart/KBaseView.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/FileWrites.h"
#include "orvane/market/ReferenceUpdate.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/ServerPaths.h"

using namespace orvane;
using namespace orvane::app;

namespace {

class MarketViews : public test::ServedMarketTest {
  protected:
    void SetUp() override {
        ServedMarketTest::SetUp();
        auto update = ReferenceUpdate::create();
        bool installed = false;
        update->setFinishHandler([&](const ArchiveInstallResult& r) { installed = r.installed; });
        ASSERT_EQ(update->downloadConstData(), ReferenceUpdate::Check::Downloading);
        ASSERT_TRUE(test::waitUntil([&] { return installed; }, 10000));
    }
    static constexpr MarketQuoteFeed::Periods kQuick{std::chrono::milliseconds(50),
                                                     std::chrono::milliseconds(100)};
};

bool quoted(const MarketTableModel& model) {
    for (int r = 0; r < model.rowCount(); ++r)
        if (!model.rowAt(r).quote) return false;
    return model.rowCount() > 0;
}

}  // namespace

TEST_F(MarketViews, TheTableListsTheMarketAndKeepsItsFiguresWhenQuotesStop) {
    MarketTableWindow window(kQuick);
    window.show();
    MarketTableModel& model = window.model();
    // Every stock of the code table, the composite indexes left to the strip.
    EXPECT_EQ(static_cast<std::size_t>(model.rowCount()), market().size());
    ASSERT_TRUE(test::waitUntil([&] { return quoted(model); }, 20000));
    EXPECT_TRUE(window.staleText().isEmpty());
    // The rows on screen learn the day's trend from their result files.
    ASSERT_TRUE(test::waitUntil([&] { return !model.rowAt(0).trend.empty(); }, 20000));

    const int percent = static_cast<int>(MarketColumn::Percent);
    window.table()->sortByColumn(percent, Qt::DescendingOrder);
    const auto key = [&](int r) { return marketSortKey(model.rowAt(r), MarketColumn::Percent); };
    for (int r = 1; r < model.rowCount(); ++r)
        if (!std::isnan(key(r))) {
            EXPECT_GE(key(r - 1), key(r)) << r;
        }

    // The quote service goes away: the figures stay, the stale mark says since when.
    const std::string before = marketCellText(model.rowAt(0), MarketColumn::Price);
    MarketServers::install(
        std::make_shared<MarketServers>(served().url("/orvane"), "http://127.0.0.1:1/"));
    ASSERT_TRUE(test::waitUntil([&] { return !window.staleText().isEmpty(); }, 20000));
    EXPECT_TRUE(window.staleText().startsWith(QStringLiteral("行情数据停留在")));
    EXPECT_TRUE(window.staleText().endsWith(QStringLiteral("行情服务无响应")));
    EXPECT_EQ(marketCellText(model.rowAt(0), MarketColumn::Price), before);
    EXPECT_TRUE(quoted(model));
}

TEST_F(MarketViews, TheIndexStripShowsThePublishedIndexesAndOpensOne) {
    IndexStrip strip({std::chrono::milliseconds(50), std::chrono::milliseconds(50)});
    strip.reloadIndexes();
    ASSERT_FALSE(strip.codes().empty());
    EXPECT_EQ(strip.codes(), SectorGroups::shared().compositeCodes());
    QLabel* label = strip.labelOf(strip.codes().front());
    ASSERT_TRUE(label);
    // Name, value, signed change and percent once the first quotes arrive.
    ASSERT_TRUE(test::waitUntil([&] { return label->text().count(' ') == 3; }, 20000))
        << label->text().toStdString();
    QSignalSpy picked(&strip, &IndexStrip::indexPicked);
    QTest::mouseClick(label, Qt::LeftButton);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.front().front().toString().toStdString(), strip.codes().front());
}

TEST_F(MarketViews, ADayChartOffersBothPricesWhenTheServerPublishesTradedHistories) {
    chart::KWindowController charts;
    QToolButton button;
    QLineEdit field;
    WebSearchMenu menu(&button, &field, [&]() -> chart::KWindowController& { return charts; });
    const auto open = [&](const std::string& code) {
        QSignalSpy opened(&menu, &WebSearchMenu::dayChartOpened);
        menu.openDayChart(code);
        EXPECT_TRUE(test::waitUntil([&] { return opened.count() == 1; }, 20000));
        return charts.kLineViewList().at(std::size_t(charts.tabOfStock(code)));
    };
    // The first stock gets a traded history beside its own (a copy will do).
    const std::string code = market().front().listing.code;
    const std::filesystem::path traded =
        served().tree() / std::string(serverpath::tradedHistoryFilePath(code)).substr(1);
    const std::string text =
        *readFile(served().tree() / std::string(serverpath::historyFilePath(code)).substr(1));
    ASSERT_TRUE(makeFolders(traded.parent_path()) && writeNewFile(traded, text));
    chart::KBaseView* view = open(code);
    ASSERT_TRUE(test::waitUntil([&] { return view->optionsBar()->choices().adjustedOffered; }));
    EXPECT_EQ(view->optionsBar()->choices().prices, chart::KPrices::ForwardAdjusted);
    std::filesystem::remove_all(traded.parent_path());
    // Another stock without one: 不复权 alone.
    chart::KBaseView* other = open(market().back().listing.code);
    QTest::qWait(300);
    EXPECT_FALSE(other->optionsBar()->choices().adjustedOffered);
}
