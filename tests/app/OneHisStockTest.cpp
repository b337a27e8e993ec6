// The single-stock history tab: its rules as tables, and one stock's 66
// past days fetched from the project's data server over a published market,
// with a second computation that cancels the first.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableView>
#include <atomic>

#include "OneHisStockController.h"
#include "OneHisStockRules.h"
#include "OneHisStockTableModel.h"
#include "ServedMarketTest.h"
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
}

class OneHisStockServed : public test::ServedMarketTest {
  protected:
    std::optional<StockRecord> publishedDay(const std::string& code, int back) const {
        const auto text = readFile(served().tree() / "const/hisdata/retdata" / code /
                                   (std::to_string(back) + ".txt"));
        return text ? parseRetStockHistordayData(*text, nullptr) : std::nullopt;
    }

    QLineEdit codeField;
};

// Counts the earlier days each computation fetched, by the total it reports.
struct DaysByTotal : QXStockLibUpdateDelegate {
    void updateHisdatProgressdDelegate(int, int total) override { ++(total == 98 ? six : one); }
    std::atomic<int> six{0}, one{0};
};

TEST_F(OneHisStockServed, ThreeMonthsListsTheStocks66DaysAndTheSelectionIsPosted) {
    const std::string code = market().front().listing.code;
    oneHisStockControlller tab(&codeField);
    codeField.setText(QString::fromStdString(code));
    tab.hisdataPopBtn()->setCurrentIndex(2);
    EXPECT_TRUE(tab.hisStockNameTextField()->text().endsWith("最近 3 个月的统计信息:"));

    QSignalSpy changed(&tab, &oneHisStockControlller::oneHisStockListChanged);
    tab.calOneStockHisInfo();
    EXPECT_TRUE(tab.isCalculating());
    EXPECT_FALSE(tab.hisProgressBar()->isHidden());
    ASSERT_TRUE(waitUntil([&] { return changed.count() == 1; }));
    EXPECT_TRUE(tab.hisProgressBar()->isHidden());
    EXPECT_FALSE(tab.isCalculating());

    // Today's record, then each of the 66 published earlier days in order.
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

    // A new stock's caption empties the table; a text that is no code starts nothing.
    codeField.setText("60000");
    tab.updateOneStockCaptureInfo();
    EXPECT_EQ(tab.hisStockNameTextField()->text(), "个股历史统计信息");
    EXPECT_EQ(tab.myStockTableView()->model()->rowCount(), 0);
    tab.calOneStockHisInfo();
    EXPECT_FALSE(tab.isCalculating());
}

TEST_F(OneHisStockServed, ASecondComputationCancelsTheFirstAndItsRowsWin) {
    DaysByTotal days;
    QXStockLib::defQXStockLib().setDelegate(&days);
    const std::string first = market()[0].listing.code, second = market()[1].listing.code;
    {
        oneHisStockControlller tab(&codeField);
        QSignalSpy changed(&tab, &oneHisStockControlller::oneHisStockListChanged);
        codeField.setText(QString::fromStdString(first));
        tab.hisdataPopBtn()->setCurrentIndex(5);  // 132 days asked, 98 fetched at most
        tab.calOneStockHisInfo();
        codeField.setText(QString::fromStdString(second));
        tab.hisdataPopBtn()->setCurrentIndex(0);
        tab.calOneStockHisInfo();
        ASSERT_TRUE(waitUntil([&] { return changed.count() == 1; }));
        ASSERT_EQ(tab.oneHisStockList().size(), 23u);
        EXPECT_EQ(tab.oneHisStockList()[1].date, publishedDay(second, 1)->date);
        QCoreApplication::processEvents();
        EXPECT_EQ(changed.count(), 1);
    }  // the tab waits for its workers
    QXStockLib::defQXStockLib().setDelegate(nullptr);
    EXPECT_EQ(days.one, 22);
    EXPECT_LT(days.six, 98);  // stopped between days, long before its end
}
