// The stock menu of every table row that is a stock, and the Delete key of
// the holdings, in the main window against the test market's server.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include "OpenWindowTest.h"
#include "common/StockCodeRole.h"
#include "holdings/MyStockHoldController.h"
#include "lists/FilterStockUIController.h"
#include "lists/QXScoreController.h"
#include "lists/QXSmartSortController.h"
#include "lists/RowTableModel.h"
#include "mainwindow/WebSearch.h"
#include "mainwindow/WindowTabs.h"
#include "markettable/MarketTableModel.h"
#include "markettable/MarketTableWindow.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/Workspace.h"
#include "stockmenu/StockMenu.h"
#include "watchlists/WatchListController.h"
#include "watchlists/WatchListModel.h"

using namespace orvane;
using namespace orvane::app;
using test::waitUntil;

namespace {

class StockMenuWindow : public test::OpenWindowTest {
  protected:
    void SetUp() override {
        test::OpenWindowTest::SetUp();
        doc().stockMenu().setConfirmation([this](QWidget*, const QString& question) {
            questions << question;
            return answer;
        });
    }
    static bool held(const std::string& stock) {
        return std::filesystem::exists(getHoldStockPath() / (stock + ".txt"));
    }
    static QAction* item(QMenu& menu, const QString& text) {
        for (QAction* a : menu.actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    static std::vector<StockRecord> rowsOf(const std::vector<std::string>& codes) {
        std::vector<StockRecord> rows(codes.size());
        for (std::size_t i = 0; i < codes.size(); ++i) rows[i].code = codes[i];
        return rows;
    }

    QStringList questions;
    bool answer = false;
};

}  // namespace

TEST_F(StockMenuWindow, EveryStockTableOffersTheMenuOfItsRowsStock) {
    const std::string a = code(0), b = code(1);
    WindowTabs& tabs = doc().tabs();
    tabs.filter()->model().setRows(rowsOf({a, b}));
    tabs.scores()->model().setRows(rowsOf({b, a}));
    tabs.smartSort()->model().setRows(rowsOf({a}));
    // Each table opens the menu of its row's stock on a right click.
    for (QAbstractItemView* view : tabs.stockViews()) {
        EXPECT_EQ(view->contextMenuPolicy(), Qt::CustomContextMenu);
        if (view->model()->rowCount() > 0)
            EXPECT_TRUE(doc().stockMenu().menuForRow(view, 0)->title().contains(
                QString::fromStdString(stockCodeAt(*view->model(), 0))));
    }

    // The items, every one plugged in.
    const auto menu = doc().stockMenu().menuForRow(tabs.stockViews()[2], 1);  // the filter's b
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    QStringList expected{"诊断",     "日K线",         "分时",    "加入持仓",
                         "加入自选", "设置价格提醒…", "复制代码"};
    for (const std::string& target : webSearchTargets())
        if (target != kDayChartTarget) expected << QString::fromStdString(target);
    EXPECT_EQ(texts, expected);
    for (QAction* a : menu->actions()) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(item(*menu, "日K线")->shortcut(), QKeySequence(Qt::Key_F5));

    // 加入自选 › group: the watch tab shows the stock at once.
    const auto plugged = doc().stockMenu().menuForRow(tabs.stockViews()[2], 1);
    QMenu* groups = item(*plugged, "加入自选")->menu();
    ASSERT_EQ(groups->actions().size(), 1);  // the default group
    groups->actions()[0]->trigger();
    EXPECT_EQ(tabs.watchLists()->model()->codeAt(0), b);

    // 复制代码, a portal, 诊断, 加入持仓.
    item(*plugged, "复制代码")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), b);
    struct Opened : Workspace {
        bool openFile(const std::filesystem::path&) override { return false; }
        bool openURL(const std::string& url) override { return (last = url), true; }
        std::string last;
    };
    auto opened = std::make_shared<Opened>();
    Workspace::install(opened);
    item(*plugged, "东方财富网")->trigger();
    Workspace::install(nullptr);
    EXPECT_EQ(opened->last, portalPageURL("东方财富网", b));
    item(*plugged, "诊断")->trigger();
    EXPECT_EQ(doc().shownStock().code(), b);
    item(*plugged, "加入持仓")->trigger();
    ASSERT_TRUE(waitUntil([&] { return held(b); }));
    tabs.holdings()->initStockArray();
    QTableView* holdings = static_cast<QTableView*>(tabs.stockViews()[0]);
    ASSERT_TRUE(waitUntil([&] { return holdings->model()->rowCount() == 1; }));

    // A held stock's menu removes it, once the user says yes.
    const auto heldMenu = doc().stockMenu().menuForRow(holdings, 0);
    ASSERT_FALSE(item(*heldMenu, "加入持仓"));
    item(*heldMenu, "删除持仓")->trigger();
    EXPECT_TRUE(held(b));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QString::fromStdString(b)));
    answer = true;
    item(*heldMenu, "删除持仓")->trigger();
    EXPECT_FALSE(held(b));
}

TEST_F(StockMenuWindow, DeleteRemovesTheSelectedHoldingAfterAConfirmation) {
    const std::string a = code(0), b = code(1);
    for (const auto& c : {a, b}) writeFileAtomically(getHoldStockPath() / (c + ".txt"), "");
    doc().showTab(0);
    QTableView* table = static_cast<QTableView*>(doc().tabs().stockViews()[0]);
    ASSERT_TRUE(waitUntil([&] { return table->model()->rowCount() == 2; }));
    table->setFocus();
    table->selectRow(0);
    const std::string selected = stockCodeAt(*table->model(), 0);
    QTest::keyClick(table, Qt::Key_Delete);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(held(selected));  // the user said no
    answer = true;
    QTest::keyClick(table, Qt::Key_Delete);
    EXPECT_FALSE(held(selected));
    EXPECT_TRUE(held(selected == a ? b : a));
}

TEST_F(StockMenuWindow, WatchListAndMarketTableRowsOfferTheSameMenu) {
    const std::string a = code(0), b = code(1);
    WatchListController& watch = *doc().tabs().watchLists();
    ASSERT_FALSE(watch.addCode(QString::fromStdString(a)));

    // A market-table row adds its stock to the watch list.
    MarketTableWindow& market = doc().marketTable();
    int row = 0;
    while (row < market.model().rowCount() && market.model().rowAt(row).code != b) ++row;
    const auto marketMenu = doc().stockMenu().menuForRow(market.table(), row);
    ASSERT_NE(marketMenu, nullptr);
    for (const char* text : {"分时", "加入自选", "设置价格提醒…"})
        EXPECT_TRUE(item(*marketMenu, text)->isEnabled()) << text;
    item(*marketMenu, "加入自选")->menu()->actions()[0]->trigger();
    ASSERT_EQ(watch.model()->rowCount(), 2);

    // A watch-list row opens its 分时; Delete asks before taking it out.
    const auto watchMenu = doc().stockMenu().menuForRow(watch.table(), 0);
    item(*watchMenu, "分时")->trigger();
    ASSERT_NE(doc().kWindowController(), nullptr);
    EXPECT_NE(doc().kWindowController()->intradayViewOf(a), nullptr);
    doc().showTab(doc().ui().switchTableView->indexOf(&watch));
    watch.table()->setFocus();
    watch.table()->selectRow(0);
    QTest::keyClick(watch.table(), Qt::Key_Delete);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(watch.model()->rowCount(), 2);  // the user said no
    answer = true;
    QTest::keyClick(watch.table(), Qt::Key_Delete);
    ASSERT_EQ(watch.model()->rowCount(), 1);
    EXPECT_EQ(watch.model()->codeAt(0), b);
}
