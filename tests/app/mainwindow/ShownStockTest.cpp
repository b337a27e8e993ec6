// The one stock on screen: every panel of the main window shows the shown
// stock or nothing, and a fetch that gives no record says why.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <fstream>

#include "ServedMarketTest.h"
#include "application/QXApplication.h"
#include "holdings/HoldingFiles.h"
#include "liveday/LiveDay.h"
#include "liveday/OrderBookPanel.h"
#include "liveday/PriceAlerts.h"
#include "mainwindow/QXDocument.h"
#include "mainwindow/StockFetch.h"
#include "mainwindow/StockSearch.h"
#include "mainwindow/WindowTabs.h"
#include "orvane/chart/IntradayView.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/StringTable.h"
#include "orvane/market/CodeTable.h"
#include "ui_QXDocument.h"
#include "watchlists/WatchListController.h"
#include "watchlists/WatchListFile.h"
#include "watchlists/WatchListModel.h"

using namespace orvane;
using namespace orvane::app;

namespace {

using test::waitUntil;

class ShownStockWindow : public test::ServedMarketTest {
  protected:
    void SetUp() override {
        test::ServedMarketTest::SetUp();
        app = std::make_unique<QXApplication>(dispatcher);
        app->setAlertPresenter(
            [this](const QString& title, const QString& message) { alerts << title << message; });
        app->applicationWillFinishLaunching();
        ASSERT_TRUE(app->openMainWindow());
        ASSERT_TRUE(waitUntil([&] { return ui().plantPopbtn->count() > 0; }));
    }
    void TearDown() override {
        app->applicationWillTerminate();
        app.reset();
        test::ServedMarketTest::TearDown();
    }
    QXDocument& doc() { return *app->document(); }
    Ui::QXDocument& ui() { return doc().ui(); }
    bool show(const std::string& code) {
        QSignalSpy shown(&doc(), &QXDocument::verdictShown);
        doc().downloadOneStockData(code);
        return waitUntil([&] { return shown.count() == 1; });
    }
    bool fail(const std::string& code) {
        const qsizetype before = alerts.size();
        doc().downloadOneStockData(code);
        return waitUntil([&] { return alerts.size() > before; });
    }
    void type(const std::string& text) {
        ui().stockCodeTokenField->setText(QString::fromStdString(text));
        doc().controlTextDidChange();
    }
    /// The day's prices, verdict and badge are empty and hidden.
    void expectNoFigures() {
        for (QLabel* field : {ui().today_Field, ui().openPrice, ui().closePrice, ui().yesClosePrice,
                              ui().pricedChanged, ui().priceChangedRatio})
            EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
        EXPECT_TRUE(ui().modeB_ImageView->isHidden());
    }
    static QString nameOf(const std::string& code) {
        return QString::fromStdString(CodeTable::shared().getStockCodeName(code).value_or(""));
    }

    static QString captionOf(const std::string& code) {
        return QString::fromStdString(
            stockCaption(localizedString("title"), nameOf(code).toStdString(), code));
    }

    std::unique_ptr<QXApplication> app;
    QStringList alerts;
};

}  // namespace

TEST_F(ShownStockWindow, ChoosingAnotherStockClearsEveryFigureOfTheLastOne) {
    const std::string a = market()[0].listing.code, b = market()[1].listing.code;
    ASSERT_TRUE(show(a));
    EXPECT_FALSE(ui().closePrice->text().isEmpty());
    EXPECT_EQ(ui().QATextEdit->text(), captionOf(a));

    // Typed: the new stock's name and caption, none of the old figures.
    type(b);
    expectNoFigures();
    EXPECT_TRUE(ui().selectedResultCapture->text().isEmpty());
    EXPECT_EQ(ui().stockCodeName->text(), nameOf(b));
    EXPECT_EQ(ui().QATextEdit->text(), captionOf(b));
    EXPECT_TRUE(ui().addMyStockBtn->isEnabled());

    // A text that names no stock names nothing.
    ASSERT_TRUE(show(a));
    type("12345");
    expectNoFigures();
    EXPECT_TRUE(ui().stockCodeName->text().isEmpty());
    EXPECT_TRUE(ui().QATextEdit->text().isEmpty());
    EXPECT_FALSE(ui().addMyStockBtn->isEnabled());

    // Opening the filter tab empties the search: the verdict, the badge and
    // the status line's sectors of the stock too.
    ASSERT_TRUE(show(a));
    EXPECT_TRUE(ui().statusField->text().startsWith(QString::fromStdString(a + " 属于板块:")));
    doc().switchTableViewAction(1005);
    EXPECT_TRUE(ui().stockCodeTokenField->text().isEmpty());
    EXPECT_TRUE(ui().selectedResultCapture->text().isEmpty());
    EXPECT_FALSE(ui().statusField->text().contains("属于板块"));
    expectNoFigures();
}

TEST_F(ShownStockWindow, AFailedFetchSaysWhyAndShowsNoOtherStocksPrices) {
    const std::string a = market()[0].listing.code, b = market()[1].listing.code;
    ASSERT_TRUE(show(a));

    // The server knows no such stock.
    ASSERT_TRUE(fail("999999"));
    EXPECT_EQ(alerts.at(alerts.size() - 2), "没有这只股票！");
    expectNoFigures();

    // The server is down: its address, and since when, not "too few data".
    ASSERT_TRUE(show(a));
    const std::string down = "http://127.0.0.1:1/orvane";
    useDataServer(down);
    ASSERT_TRUE(fail(b));
    EXPECT_EQ(alerts.at(alerts.size() - 2), "无法连接数据服务器！");
    EXPECT_TRUE(alerts.back().contains(QString::fromStdString(down)));
    EXPECT_TRUE(alerts.back().contains("起没有应答"));
    expectNoFigures();
    EXPECT_EQ(ui().stockCodeName->text(), nameOf(b));
    EXPECT_TRUE(ui().selectedResultCapture->text().contains("连接不上数据服务器"));
    // The stale-data notice stays on the status line under later messages.
    EXPECT_TRUE(ui().statusField->text().contains("数据服务器无响应"));
    type(a);
    EXPECT_TRUE(ui().statusField->text().contains("数据服务器无响应"));
}

TEST_F(ShownStockWindow, AHistoryDayPickedInItsTabIsTheShownRecord) {
    const std::string a = market()[0].listing.code, b = market()[1].listing.code;
    ASSERT_TRUE(show(a));
    // The history tab posts the day as a stock dictionary; the window shows
    // exactly that day's record, under its own code.
    StockRecord day;
    day.code = b;
    day.date = "2025-11-28";
    day.openPrice = "10.10";
    day.yesClosePrice = "10.00";
    day.closePrice = "10.50";
    day.highPrice = "10.60";
    day.lowPrice = "9.90";
    day.trend = 1;
    day.score = 120;
    day.gain5 = 3.5f;
    QSignalSpy shown(&doc(), &QXDocument::verdictShown);
    NotificationBus::shared().post(notifications::Notifiation_HistodayStockChaged, this,
                                   day.toDictionary());
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 1; }));
    EXPECT_EQ(doc().shownStock().state(), ShownStock::State::Shown);
    EXPECT_EQ(doc().shownStock().code(), b);
    ASSERT_TRUE(doc().shownStock().record());
    EXPECT_EQ(*doc().shownStock().record(), day);
    EXPECT_EQ(ui().closePrice->text(), "10.50");

    // A payload without a valid code changes nothing.
    StockRecord noCode = day;
    noCode.code = "12345";
    NotificationBus::shared().post(notifications::Notifiation_HistodayStockChaged, this,
                                   noCode.toDictionary());
    QTest::qWait(100);
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(doc().shownStock().code(), b);
}

TEST(ShownStock, ANameLearntLaterKeepsTheRecordAndNothingIsNamedWithoutAStock) {
    ShownStock shown;
    QSignalSpy changed(&shown, &ShownStock::changed);
    shown.setName("浦发银行");  // no stock: nothing to name
    EXPECT_EQ(changed.count(), 0);
    StockRecord record;
    record.code = "600000";
    record.closePrice = "10.00";
    shown.show("", record);
    shown.setName("浦发银行");
    EXPECT_EQ(shown.name(), "浦发银行");
    EXPECT_EQ(shown.state(), ShownStock::State::Shown);
    EXPECT_TRUE(shown.record());
    // Another stock's failure does not touch the shown one.
    shown.fail("000001", "x");
    EXPECT_EQ(shown.state(), ShownStock::State::Shown);
    EXPECT_EQ(changed.count(), 2);
}

TEST(FetchFailureText, EachCauseItsOwnWords) {
    const auto text = [](MissingRecord::Cause cause) {
        return fetchFailureText({cause, "Connection refused"}, "600000", "http://h:8/o",
                                std::nullopt);
    };
    EXPECT_EQ(text(MissingRecord::Cause::HistoryTooShort).message, "股票交易数据太少，无法判断");
    EXPECT_NE(
        text(MissingRecord::Cause::UnknownStock).message.find("http://h:8/o 上没有股票 600000"),
        std::string::npos);
    EXPECT_NE(text(MissingRecord::Cause::ServerUnreachable).message.find("Connection refused"),
              std::string::npos);
}

TEST_F(ShownStockWindow, TheLiveDayQuotesTheShownStockChecksItsAlertsAndSamples分时) {
    const std::string code = market().front().listing.code;
    ASSERT_TRUE(show(code));
    QSignalSpy raised(&doc().priceAlerts(), &PriceAlerts::alertRaised);
    doc().priceAlerts().add({code, PriceAlertKind::PriceAtLeast, 0.01});
    doc().liveDay().refresh({});
    ASSERT_TRUE(waitUntil([&] { return doc().liveDay().quoteOf(code) != nullptr; }));
    EXPECT_EQ(ui().closePriceLabel->text(), "现价");
    EXPECT_NE(doc().orderBook().priceText(5), "—");  // 买一
    EXPECT_EQ(raised.count(), 1);
    doc().openIntraday(code);
    const chart::IntradayView* view = doc().kWindowController()->intradayViewOf(code);
    ASSERT_TRUE(view);
    // This server tells no minutes: the line is the program's own samples.
    EXPECT_EQ(view->line().sampledSince, "14:59");
    EXPECT_EQ(view->line().points.size(), 1u);
}

TEST_F(ShownStockWindow, OneQuoteRoundGivesTheHoldingsWatchListAndLiveDayTheSameQuote) {
    const std::string held = market()[0].listing.code, shown = market()[1].listing.code;
    const auto heldFile = holdingFile(getHoldStockPath(), held);
    std::ofstream(heldFile) << "";  // held, its quote not yet in
    ASSERT_EQ(addToWatchGroup(held, "自选股"), std::nullopt);
    doc().tabs().watchLists()->reload();
    ASSERT_TRUE(show(shown));  // quoted, but not held: it gets no file
    doc().liveDay().refresh({});
    ASSERT_TRUE(waitUntil([&] { return doc().liveDay().quoteOf(held) != nullptr; }));
    const std::optional<StockRecord> row = readHoldingFile(heldFile);
    ASSERT_TRUE(row);
    const StockRecord& live = *doc().liveDay().quoteOf(held);
    EXPECT_EQ(row->closePrice, live.closePrice);
    EXPECT_EQ(row->date, live.date);
    EXPECT_EQ(row->name, live.name);  // the file keeps the service's own encoding
    const WatchRow watched = doc().tabs().watchLists()->model()->rowOf(held);
    ASSERT_TRUE(watched.quote);
    EXPECT_EQ(watched.quote->record.closePrice, live.closePrice);
    EXPECT_EQ(watched.quote->record.date, live.date);
    EXPECT_FALSE(std::filesystem::exists(holdingFile(getHoldStockPath(), shown)));
}
