// The single-stock history tab: its rules as tables, and one stock's past
// days fetched from the project's data server over a published market when
// the tab opens, the months change or the stock changes on screen, with a
// newer computation that cancels the older one.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableView>
#include <atomic>

#include "ServedMarketTest.h"
#include "history/OneHisStockController.h"
#include "history/OneHisStockRules.h"
#include "history/OneHisStockTableModel.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/QXStockLib.h"

using namespace orvane;
using namespace orvane::app;
namespace k = orvane::keys;

namespace {

StockRecord day(int trend, float gain5, int modeB, const char* close = "10.00",
                const char* yesClose = "10.00") {
    return StockRecord::fromDictionary({{k::STOCK_Trend, trend},
                                        {k::KEY_Gain_5Days, gain5},
                                        {k::STOCK_Trend_ModeB, modeB},
                                        {k::STOCK_Discription, "说明"},
                                        {k::STOCK_closePrice, close},
                                        {k::STOCK_YesClosePrice, yesClose},
                                        {k::STOCK_DATE, "2025-12-01"},
                                        {k::STOCK_SCORE, 135}});
}

using test::waitUntil;

}  // namespace

TEST(OneHisStockRules, CaptionAndDaysFollowTheCodeFieldAndThePopUp) {
    struct Case {
        std::string field;
        int item;
        std::string caption;
    };
    const Case cases[] = {
        {"60000", 0, "个股历史统计信息"},
        {"6000001", 0, "个股历史统计信息"},
        {"600000", 2, "浦发银行(600000)最近 3 个月的统计信息:"},
        {"600000", 5, "浦发银行(600000)最近 6 个月的统计信息:"},
        {"浦发银行浦发", 0, "浦发银行(浦发银行浦发)最近 1 个月的统计信息:"},  // six characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(oneStockCaption(c.field, "浦发银行", monthsForItem(c.item)), c.caption)
            << c.field;
    EXPECT_EQ(passDaysForItem(0), 22);
    EXPECT_EQ(passDaysForItem(2), 66);
    EXPECT_EQ(passDaysForItem(5), 132);
}

TEST(OneHisStockRules, CellsAreColouredByTrendGainsAndModelB) {
    struct Case {
        StockRecord day;
        Rgb colour;
        bool bold;
    };
    const Case cases[] = {
        {day(1001, 1, 0), colours::purple, true},    {day(1001, 1, 1), colours::blue, true},
        {day(0, 0, 1), colours::blue, true},         {day(2, 5, 0), colours::darkGreen, false},
        {day(1, 0.01f, 0), colours::red, false},     {day(1, 0, 0), colours::black, false},
        {day(1, -2, 0), colours::black, false},      {day(3, 5, 0), colours::darkGrey, false},
        {day(1000, 5, 0), colours::darkGrey, false}, {day(-1, 5, 0), colours::darkGrey, false},
    };
    for (const Case& c : cases) {
        const HistoryCell cell = historyCell(c.day, k::STOCK_Discription);
        EXPECT_EQ(cell, (HistoryCell{"说明", c.colour, c.bold, false}))
            << *c.day.trend << " " << *c.day.modeB;
    }

    struct Close {
        const char *close, *yesClose, *text;
        Rgb colour;
    };
    const Close closes[] = {
        {"10.004", "10.00", "10.00", colours::red},     {"10.00", "10.00", "10.00", colours::red},
        {"9.99", "10.00", "9.99", colours::darkGreen},  {"0.0009", "10.00", "0.00", colours::red},
        {"0.001", "10.00", "0.00", colours::darkGreen},
    };
    for (const Close& c : closes)
        EXPECT_EQ(historyCell(day(1, 0, 0, c.close, c.yesClose), k::STOCK_closePrice),
                  (HistoryCell{c.text, c.colour, false, true}))
            << c.close;
    EXPECT_EQ(historyCell(day(1, 0, 0), k::STOCK_SCORE),
              (HistoryCell{"135", colours::black, false, false}));

    // The gains are percents already, shown with two decimals.
    StockRecord gains = day(1, 0.819669f, 0);
    gains.gain10 = -12.3456f;
    EXPECT_EQ(historyCell(gains, k::KEY_Gain_5Days).text, "0.82%");
    EXPECT_EQ(historyCell(gains, k::KEY_Gain_10Days).text, "-12.35%");
    EXPECT_EQ(historyCell(day(1, 0, 0), k::KEY_Gain_10Days).text, "");  // not computed

    // The conclusion is readable whole in its tooltip, however narrow its column.
    const std::string longText(300, 'x');
    StockRecord verdict = day(1, 0, 0);
    verdict.description = longText;
    OneHisStockTableModel model;
    model.setRows({verdict});
    const auto& ids = OneHisStockTableModel::columnIdentifiers();
    const int conclusion = static_cast<int>(
        std::find_if(ids.begin(), ids.end(),
                     [](const char* id) { return std::string_view(id) == k::STOCK_Discription; }) -
        ids.begin());
    EXPECT_EQ(model.data(model.index(0, conclusion), Qt::ToolTipRole).toString().toStdString(),
              longText);
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::ToolTipRole).isValid());
}

class OneHisStockServed : public test::ServedMarketTest {
  protected:
    std::optional<StockRecord> publishedDay(const std::string& code, int back) const {
        const auto text = readFile(served().tree() / "const/hisdata/retdata" / code /
                                   (std::to_string(back) + ".txt"));
        return text ? parseRetStockHistordayData(*text, nullptr) : std::nullopt;
    }
    std::string dateOf(const std::vector<StockRecord>& rows, std::size_t i) const {
        return rows.at(i).date.value_or("");
    }
};

// Counts the earlier days each computation fetched, by the total it reports.
struct DaysByTotal : QXStockLibUpdateDelegate {
    void updateHisdatProgressdDelegate(int, int total) override { ++(total == 98 ? six : one); }
    std::atomic<int> six{0}, one{0};
};

TEST_F(OneHisStockServed, OpeningTheTabTheMonthsAndANewStockComputeTheShownStock) {
    const std::string code = market()[0].listing.code, other = market()[1].listing.code;
    OneHisStockController tab;
    QSignalSpy changed(&tab, &OneHisStockController::oneHisStockListChanged);

    // Off screen the stock only sets the caption.
    tab.setShownStock(QString::fromStdString(code), "某股");
    EXPECT_FALSE(tab.isCalculating());
    EXPECT_EQ(tab.hisStockNameTextField()->text().toStdString(),
              "某股(" + code + ")最近 1 个月的统计信息:");

    // Opened from its tab: today and the 22 earlier days.
    tab.show();
    EXPECT_TRUE(tab.isCalculating());
    EXPECT_FALSE(tab.hisProgressBar()->isHidden());
    ASSERT_TRUE(waitUntil([&] { return changed.count() == 1; }));
    EXPECT_TRUE(tab.hisProgressBar()->isHidden());
    ASSERT_EQ(tab.oneHisStockList().size(), 23u);

    // Opened again on the same stock and months: the rows stay, nothing starts.
    tab.hide();
    tab.show();
    EXPECT_FALSE(tab.isCalculating());
    EXPECT_EQ(tab.oneHisStockList().size(), 23u);

    // Three months chosen: the 66 published earlier days in order.
    tab.hisdataPopBtn()->setCurrentIndex(2);
    EXPECT_TRUE(tab.hisStockNameTextField()->text().endsWith("最近 3 个月的统计信息:"));
    EXPECT_TRUE(tab.isCalculating());
    ASSERT_TRUE(waitUntil([&] { return changed.count() == 2; }));
    const std::vector<StockRecord>& rows = tab.oneHisStockList();
    ASSERT_EQ(rows.size(), 67u);
    for (int back : {1, 66}) {
        const auto published = publishedDay(code, back);
        ASSERT_TRUE(published);
        EXPECT_EQ(rows[back], *published) << back;
    }

    std::vector<Notification> posted;
    ScopedObserver observer(NotificationBus::shared(),
                            notifications::Notifiation_HistodayStockChaged,
                            [&](const Notification& n) { posted.push_back(n); });
    tab.myStockTableView()->selectRow(3);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].object, &tab);
    EXPECT_EQ(posted[0].userInfo, rows[3].toDictionary());

    // Another stock while on screen: the table empties and fills with its days.
    tab.setShownStock(QString::fromStdString(other), {});
    EXPECT_EQ(tab.myStockTableView()->model()->rowCount(), 0);
    EXPECT_TRUE(tab.isCalculating());
    ASSERT_TRUE(waitUntil([&] { return changed.count() == 3; }));
    ASSERT_EQ(tab.oneHisStockList().size(), 67u);
    EXPECT_EQ(dateOf(tab.oneHisStockList(), 1), publishedDay(other, 1)->date.value_or(""));

    // A text that is no code: the plain caption, no rows, nothing started.
    tab.setShownStock("60000", {});
    EXPECT_EQ(tab.hisStockNameTextField()->text(), "个股历史统计信息");
    EXPECT_EQ(tab.myStockTableView()->model()->rowCount(), 0);
    tab.tabOpened();
    EXPECT_FALSE(tab.isCalculating());
}

TEST_F(OneHisStockServed, TheNewestRequestWinsAndCancelsTheOlder) {
    DaysByTotal days;
    QXStockLib::defQXStockLib().setDelegate(&days);
    const std::string first = market()[0].listing.code, second = market()[1].listing.code;
    {
        OneHisStockController tab;
        QSignalSpy changed(&tab, &OneHisStockController::oneHisStockListChanged);
        tab.hisdataPopBtn()->setCurrentIndex(5);  // 132 days asked, 98 fetched at most
        tab.show();                               // no stock yet: nothing starts
        EXPECT_FALSE(tab.isCalculating());
        tab.setShownStock(QString::fromStdString(first), {});
        tab.calOneStockHisInfo();  // the stock's second request: the first is cancelled
        tab.setShownStock(QString::fromStdString(second), {});
        tab.hisdataPopBtn()->setCurrentIndex(0);
        ASSERT_TRUE(waitUntil([&] { return changed.count() == 1; }));
        ASSERT_EQ(tab.oneHisStockList().size(), 23u);
        EXPECT_EQ(tab.oneHisStockList()[1].date, publishedDay(second, 1)->date);
        QTest::qWait(100);
        EXPECT_EQ(changed.count(), 1);
    }  // the tab waits for its workers
    QXStockLib::defQXStockLib().setDelegate(nullptr);
    EXPECT_EQ(days.one, 22);
    EXPECT_LT(days.six, 3 * 98);  // each older one stopped between days
}
