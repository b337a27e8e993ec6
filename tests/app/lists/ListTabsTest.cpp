// The filter tab and the score and smart sort lists against the project's
// own data server over a small published market.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>

#include "ServedMarketTest.h"
#include "lists/FilterStockRows.h"
#include "lists/FilterStockUIController.h"
#include "lists/QXScoreController.h"
#include "lists/QXSmartSortController.h"
#include "lists/RowTableModel.h"
#include "lists/ScoreListRows.h"
#include "lists/SmartSortRows.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/GainList.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/StockKeys.h"
#include "orvane/reports/GainListFiles.h"
#include "orvane/reports/MarketInformation.h"
#include "orvane/stocklib/QXStockLib.h"
#include "ui_FilterStockUIController.h"
#include "ui_QXScoreController.h"
#include "ui_QXSmartSortController.h"

using namespace orvane;
using namespace orvane::app;
namespace fs = std::filesystem;
namespace k = orvane::keys;

namespace {

using test::waitUntil;

std::vector<std::string> codes(const std::vector<StockRecord>& rows) {
    std::vector<std::string> out;
    for (const StockRecord& r : rows) out.push_back(r.code);
    return out;
}
std::vector<std::string> codes(const Array& rows) {
    return codes(stockRecordsOf(rows));
}

/// The notifications a list posts, by name, with their codes.
struct Posted {
    std::vector<std::pair<std::string, std::string>> notes;
    ScopedObserver observer{NotificationBus::shared(), "", [this](const Notification& n) {
                                if (n.name.starts_with("Notifiation_"))
                                    notes.emplace_back(n.name,
                                                       stringFor(n.userInfo, k::STOCK_Code));
                            }};
};

class ListTabs : public test::ServedMarketTest {
  protected:
    /// The server's rising lists downloaded into the Gains folder.
    void downloadRisingLists() {
        for (const MarketGainList& list : {kMarketGainLists[0], kMarketGainLists[1]}) {
            const auto text =
                readFile(served().tree() / "const/hisdata/sortdata" / list.serverFile);
            ASSERT_TRUE(text);
            writeFileAtomically(marketGainListDownload(list), *text);
        }
    }

    test::FixedNow today{2025, 12, 5, 15, 30};
};

}  // namespace

TEST_F(ListTabs, FilterModesTopGainersRankingsRunStopAndBadFiles) {
    downloadRisingLists();
    FilterStockUIController filter;
    auto& ui = filter.ui();
    QTableView& table = *ui.resultTableView;
    QSignalSpy picked(&filter, &FilterStockUIController::stockPicked);
    QSignalSpy cleared(&filter, &FilterStockUIController::shownStockCleared);
    QSignalSpy status(&filter, &FilterStockUIController::statusMessage);

    // Off screen a reload leaves the stock on screen alone; opened, it has
    // nothing selected and clears it.
    filter.updateAllStock();
    EXPECT_EQ(cleared.count(), 0);
    filter.show();

    // Mode 0: the top gainers, 20 of each market.
    filter.updateAllStock();
    EXPECT_EQ(cleared.count(), 1);
    const Array top = getFilterStockFromHuShenGainsData(20).stocks;
    ASSERT_FALSE(top.empty());
    EXPECT_EQ(codes(filter.hushenStockList()), codes(top));
    EXPECT_EQ(ui.displayCaptureFiled->text(), "涨幅前");
    EXPECT_FALSE(ui.filterNumPopBtn->isHidden());
    EXPECT_EQ(ui.indexField->text().toStdString(), filterIndexText(0, top.size()));

    // Selection and double-click tell the main window.
    Posted posted;
    table.selectRow(0);
    filter.DoubleClickAction();
    const std::string first = stringFor(top[0].dictionary(), k::STOCK_Code);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked[0][0].toString().toStdString(), first);
    EXPECT_EQ(picked[0][1].toString().toStdString(),
              stringFor(top[0].dictionary(), k::STOCK_SC_Name));
    ASSERT_GE(posted.notes.size(), 2u);
    EXPECT_EQ(posted.notes[0], std::pair(std::string("Notifiation_GetStockStatus"), first));
    EXPECT_EQ(posted.notes[1].first, "Notifiation_DoubleClickStock");
    EXPECT_EQ(ui.indexField->text().toStdString(), filterIndexText(1, top.size()));

    // Mode 2 without today's file: the report starts, the table stays. A
    // stop asked while nothing ran does not reach the run started after it.
    ui.filterNumPopBtn->setCurrentIndex(1);  // the report screens 50 of each market
    QSignalSpy started(&filter, &FilterStockUIController::runStarted);
    QSignalSpy ended(&filter, &FilterStockUIController::runEnded);
    filter.stopRun();
    filter.setSelectSegmentAction(2);
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(codes(filter.hushenStockList()), codes(top));
    EXPECT_EQ(ui.displayCaptureFiled->text(), "2025-12-05 5日排名");
    EXPECT_TRUE(ui.filterNumPopBtn->isHidden());
    EXPECT_EQ(ended.count(), 0);
    ASSERT_TRUE(waitUntil([&] { return ended.count() == 1; }));

    // Chosen again, the modes show today's files; the 10-day mode's percent
    // column shows the 10-day gain.
    const fs::path gains = getGainsPath();
    filter.setSelectSegmentAction(2);
    EXPECT_EQ(dictionariesOf(filter.hushenStockList()),
              readPropertyListArray(filterResultFile(FilterMode::FiveDay, gains, "2025-12-05")));
    filter.setSelectSegmentAction(3);
    const Array ten =
        readPropertyListArray(filterResultFile(FilterMode::TenDay, gains, "2025-12-05"));
    ASSERT_FALSE(ten.empty()) << "the made-up market should give picks";
    EXPECT_EQ(dictionariesOf(filter.hushenStockList()), ten);
    const Dictionary& top10 = ten[0].dictionary();
    const float gain10 = floatFor(top10, k::KEY_Gain_10Days);
    EXPECT_EQ(filter.model().cell(0, 1).text,
              format(gain10 > 0 ? "+%.2f %%" : "%.2f %%", double{gain10}));
    EXPECT_EQ(ui.indexField->text().toStdString(), filterIndexText(0, ten.size()));

    // A corrupt buy list: an empty table with its caption and a note.
    writeFileAtomically(filterResultFile(FilterMode::Buy, gains, "2025-12-05"), "\x01 garbage");
    filter.setSelectSegmentAction(1);
    EXPECT_TRUE(filter.hushenStockList().empty());
    EXPECT_EQ(ui.displayCaptureFiled->text(), "2025-12-05 可重点关注的个股");
    ASSERT_EQ(status.count(), 1);
    EXPECT_TRUE(status[0][0].toString().contains("2025-12-05_buy.plist"));

    // Stopped, a run ends before it writes anything.
    for (FilterMode m : {FilterMode::Buy, FilterMode::FiveDay, FilterMode::TenDay})
        fs::remove(filterResultFile(m, gains, "2025-12-05"));
    filter.setSelectSegmentAction(1);
    ASSERT_EQ(started.count(), 2);
    filter.stopRun();
    ASSERT_TRUE(waitUntil([&] { return ended.count() == 2; }));
    EXPECT_FALSE(fs::exists(filterResultFile(FilterMode::Buy, gains, "2025-12-05")));
}

TEST_F(ListTabs, ScoreListsBySegmentFollowTheirFilesAndTheSmartWatchListsRisingStocks) {
    QXStockLib& lib = QXStockLib::defQXStockLib();
    auto scores = lib.handDownloadSortResultiOS(false);
    auto doublePao = lib.handDownloadYesDoublePaoSortResultiOS(false);
    const fs::path gains = getGainsPath();
    ASSERT_TRUE(waitUntil([&] {
        return scores->isFinished() && doublePao->isFinished() &&
               fs::exists(scoreListFile(gains, 3));
    }));

    QXScoreController score;
    QSignalSpy status(&score, &QXScoreController::statusMessage);
    QSignalSpy picked(&score, &QXScoreController::stockPicked);
    score.updateAllStock();
    for (int segment = 3; segment >= 0; --segment) {
        score.scoreTypeAction(segment);
        const Array rows = readPropertyListArray(scoreListFile(gains, segment));
        EXPECT_EQ(dictionariesOf(score.scoreList()), rows) << segment;
        if (rows.empty()) continue;
        EXPECT_EQ(score.model().cell(0, 1).text,
                  format("得分:  %d ", intFor(rows[0].dictionary(), k::STOCK_SCORE)));
    }
    ASSERT_FALSE(score.scoreList().empty()) << "the made-up market has high scores";
    score.ui().scoreTableview->selectRow(0);
    score.DoubleClickAction();
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked[0][0].toString().toStdString(), score.scoreList()[0].code);

    // The shown list is read again when its file is rewritten: here, badly.
    writeFileAtomically(scoreListFile(gains, 0), "not a list");
    ASSERT_TRUE(waitUntil([&] { return score.scoreList().empty(); }, 10000));
    ASSERT_GE(status.count(), 1);
    EXPECT_TRUE(status.back()[0].toString().contains("todayStr_score_Score.plist"));

    // The smart watch: the folder cleared, the watched stocks fetched, the
    // list rebuilt after the fetch; stopping joins the worker.
    writeFileAtomically(getInspectStockPath() / "leftover.txt", "old");
    QXSmartSortController smart(nullptr,
                                {std::chrono::milliseconds(0), std::chrono::milliseconds(200)});
    EXPECT_EQ(QXSmartSortController::defQXSmartSortController(), &smart);
    QSignalSpy rebuilt(&smart, &QXSmartSortController::smartListRebuilt);
    smart.ui().smartWatchBtn->click();
    EXPECT_TRUE(smart.isWatching());
    ASSERT_TRUE(waitUntil([&] { return rebuilt.count() >= 2; }));
    smart.stopWatch();
    EXPECT_FALSE(smart.isWatching());
    EXPECT_FALSE(smart.ui().smartWatchBtn->isChecked());
    EXPECT_FALSE(fs::exists(getInspectStockPath() / "leftover.txt"));
    const Array watched = readPropertyListArray(smartModeFilePath());
    ASSERT_FALSE(watched.empty());
    EXPECT_TRUE(fs::exists(getInspectStockPath() / (watched[0].string() + ".txt")));
    smart.initStockArray();
    ASSERT_TRUE(waitUntil([&] { return rebuilt.count() >= 3; }));
    EXPECT_EQ(smart.SmartScortList(), smartSortRows(getInspectStockPath()));
}
