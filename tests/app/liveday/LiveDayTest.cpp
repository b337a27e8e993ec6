// The live day: price alerts (reading, crossings, the stored list, the
// dialog), the intraday lines sampled from quotes or told by the server,
// the five levels, and 当日行情 with a live quote.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTextBrowser>
#include <fstream>

#include "TempDataDir.h"
#include "alerts/NotificationPanelController.h"
#include "liveday/IntradayBook.h"
#include "liveday/LiveDay.h"
#include "liveday/OrderBookPanel.h"
#include "liveday/PriceAlertBook.h"
#include "liveday/PriceAlertDialog.h"
#include "liveday/PriceAlerts.h"
#include "mainwindow/DayPricesPanel.h"
#include "mainwindow/ShownStock.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/QuoteLine.h"

using namespace orvane;
using namespace orvane::app;

namespace {

/// A quote line of 600000: previous close 10.00, the given price, volume
/// (shares) and time; five levels a tick apart unless `levels` is false.
StockRecord quote(double price, double volume = 0, const std::string& time = "10:00:00",
                  bool levels = true, const std::string& day = "2026-12-08") {
    std::string line = "var hq_str_sh600000=\"浦发银行,10.00,10.00," + format("%.2f", price) +
                       ",10.50,9.50,0,0," + format("%.0f", volume) + "," +
                       format("%.0f", volume * price);
    for (int i = 0; i < 20; ++i) {
        const int level = (i % 10) / 2;
        const double at = i < 10 ? price - 0.01 * level : price + 0.01 * (level + 1);
        line += !levels ? ","
                : i % 2 ? "," + format("%.2f", at)
                        : "," + format("%d", 100 * (i + 1));
    }
    return *parseSinaData(line + "," + day + "," + time + ",00\";", "600000");
}

std::string nameOf(const std::string& code) {
    return code == "600000" ? "浦发银行" : "";
}

}  // namespace

TEST(PriceAlerts, ThresholdsAreNumbersAndPricesNeverNegative) {
    struct Case {
        const char* text;
        PriceAlertKind kind;
        std::optional<double> value;
    } cases[] = {
        {" 10.5 ", PriceAlertKind::PriceAtLeast, 10.5}, {"abc", PriceAlertKind::PriceAtLeast, {}},
        {"", PriceAlertKind::PriceAtMost, {}},          {"-1", PriceAlertKind::PriceAtMost, {}},
        {"10.5x", PriceAlertKind::PriceAtMost, {}},     {"-3%", PriceAlertKind::ChangeAtMost, -3},
        {"2", PriceAlertKind::RiseSpeedAtLeast, 2},     {"5%", PriceAlertKind::PriceAtLeast, {}},
    };
    for (const Case& c : cases) {
        const ThresholdRead read = readThreshold(c.text, c.kind);
        EXPECT_EQ(read.value, c.value) << c.text;
        EXPECT_EQ(read.refusal.empty(), c.value.has_value()) << c.text;
    }
}

TEST(PriceAlerts, EachAlertIsRaisedOncePerCrossing) {
    const std::vector<PriceAlert> alerts = {
        {"600000", PriceAlertKind::PriceAtLeast, 10.5},
        {"600000", PriceAlertKind::ChangeAtMost, -2},
        {"600000", PriceAlertKind::RiseSpeedAtLeast, 1},
        {"000001", PriceAlertKind::PriceAtLeast, 1},  // another stock's
    };
    PriceAlertWatch watch;
    struct Step {
        double price;
        std::optional<double> speed;
        std::vector<PriceAlertKind> raised;
    } steps[] = {
        {10.6, std::nullopt, {PriceAlertKind::PriceAtLeast}},  // already past when first seen
        {10.7, 0.5, {}},                                       // still past: not again
        {10.4, 1.2, {PriceAlertKind::RiseSpeedAtLeast}},       // back under; speed crosses
        {10.5, 1.5, {PriceAlertKind::PriceAtLeast}},           // crosses again
        {9.79, -3.0, {PriceAlertKind::ChangeAtMost}},          // -2.1%
        {0, std::nullopt, {}},                                 // no price: nothing holds
        {9.7, 1.0, {PriceAlertKind::ChangeAtMost, PriceAlertKind::RiseSpeedAtLeast}},
    };
    for (const Step& s : steps) {
        const QuoteFigures figures{s.price, s.price > 0 ? (s.price / 10 - 1) * 100 : 0, s.speed};
        std::vector<PriceAlertKind> raised;
        for (const PriceAlert& a : watch.crossings(alerts, "600000", figures))
            raised.push_back(a.kind);
        EXPECT_EQ(raised, s.raised) << s.price;
    }
}

TEST(PriceAlerts, TheListRoundTripsThroughItsOwnFileAndABadFileIsSetAside) {
    test::TempDataDir dir;
    const auto file = dir.path() / "PriceAlerts.plist";
    const std::vector<PriceAlert> alerts = {{"600000", PriceAlertKind::PriceAtLeast, 10.5},
                                            {"000001", PriceAlertKind::ChangeAtMost, -3.25}};
    {
        PriceAlertBook book(file);
        book.load();
        ASSERT_TRUE(book.replace(alerts));
        EXPECT_TRUE(book.add(alerts[0]));  // an equal one is not added twice
    }
    PriceAlertBook again(file);
    EXPECT_TRUE(again.load().wasRead());
    EXPECT_EQ(again.alerts(), alerts);
    EXPECT_EQ(again.alertsOf("000001").size(), 1u);

    std::ofstream(file) << "not a property list";
    PriceAlertBook bad(file);
    EXPECT_TRUE(bad.load().needsReport());
    EXPECT_TRUE(bad.alerts().empty());
}

TEST(PriceAlerts, ARaisedAlertGoesToThePanelWithItsOwnText) {
    test::TempDataDir dir;
    NotificationPanelController panel;
    panel.setAnimationDuration(0);
    PriceAlerts alerts({.file = dir.path() / "PriceAlerts.plist",
                        .nameOf = nameOf,
                        .desktopNotificationsAnswer = [] { return false; },
                        .panel = &panel});
    alerts.load();
    alerts.add({"600000", PriceAlertKind::PriceAtLeast, 10.2});
    QSignalSpy raised(&alerts, &PriceAlerts::alertRaised);
    alerts.check(quote(10.10), std::nullopt);
    alerts.check(quote(10.20, 0, "10:31:00"), std::nullopt);  // 10.20 meets it exactly
    alerts.check(quote(10.55, 0, "10:31:05"), std::nullopt);  // still met: not again
    alerts.check(quote(10.60), std::nullopt);
    ASSERT_EQ(raised.count(), 1);
    EXPECT_EQ(raised[0][0].toString(), "价格提醒：浦发银行(600000)");
    EXPECT_EQ(panel.contentTextView()->toPlainText(),
              "价格 ≥ 10.20。现价 10.20，涨跌幅 +2.00%（10:31:00）");
}

TEST(PriceAlerts, TheDialogRefusesNonNumbersAndNegativePrices) {
    PriceAlertDialog dialog("600000", "浦发银行(600000)");
    for (const char* refused : {"abc", "-1.5"}) {
        dialog.thresholdField()->setText(refused);
        dialog.accept();
        EXPECT_FALSE(dialog.alert()) << refused;
        EXPECT_FALSE(dialog.refusalLabel()->text().isEmpty());
    }
    dialog.kindBox()->setCurrentIndex(3);  // 涨跌幅 ≤: a fall is negative
    dialog.thresholdField()->setText("-1.5");
    dialog.accept();
    ASSERT_TRUE(dialog.alert());
    EXPECT_EQ(*dialog.alert(), (PriceAlert{"600000", PriceAlertKind::ChangeAtMost, -1.5}));
}

TEST(IntradayBook, SampledQuotesMakeMinutesFromWhenWatchingBegan) {
    IntradayBook book;
    book.absorbQuote(quote(10.10, 50000, "10:00:03"));
    book.absorbQuote(quote(10.20, 51000, "10:00:58"));
    book.absorbQuote(quote(10.15, 53000, "10:01:10"));
    book.absorbQuote(quote(10.16, 54000, "12:00:00"));  // the lunch break adds nothing
    book.absorbQuote(quote(10.30, 60000, "15:00:00"));  // the closing second ends 14:59
    const chart::IntradayLine line = book.lineOf("600000");
    EXPECT_EQ(line.sampledSince, "10:00");
    EXPECT_EQ(line.previousClose, 10.0);
    ASSERT_EQ(line.points.size(), 3u);
    // What traded before the program watched is not put in the first minute.
    EXPECT_EQ(line.points[0].minute, 30);
    EXPECT_EQ(line.points[0].price, 10.20);
    EXPECT_EQ(line.points[0].volume, 1000);
    EXPECT_EQ(line.points[1].volume, 2000);
    EXPECT_EQ(line.points[2].minute, 239);
    EXPECT_EQ(line.points[2].volume, 7000);

    // The server's minutes replace the samples and later samples.
    book.absorbMinutes("600000", {{0, 10.01, 10.0, 300}, {1, 10.02, 10.01, 200}});
    book.absorbQuote(quote(10.40, 70000, "14:59:30"));
    const chart::IntradayLine told = book.lineOf("600000");
    EXPECT_FALSE(told.sampledSince);
    EXPECT_EQ(told.points.size(), 2u);
    // The next day starts anew; a suspended stock's line says so and has no points.
    book.absorbQuote(quote(10.0, 100, "09:30:10", true, "2026-12-09"));
    EXPECT_EQ(book.lineOf("600000").points.size(), 1u);
    StockRecord suspended = quote(10.0, 0, "10:00:00", false, "2026-12-10");
    suspended.quoteStatus = "03";
    book.absorbQuote(suspended);
    EXPECT_TRUE(book.lineOf("600000").suspended);
    EXPECT_TRUE(book.lineOf("600000").points.empty());
}

TEST(LiveDayPanels, FiveLevelsAndTheLiveQuoteIn当日行情) {
    OrderBookPanel book;
    book.setQuote(nullptr);
    EXPECT_EQ(book.priceText(0), "—");
    const StockRecord live = quote(10.20, 1000, "10:31:05");
    book.setQuote(&live);
    EXPECT_EQ(book.priceText(4), "10.21");  // 卖一
    EXPECT_EQ(book.volumeText(4), "11");    // 1,100 shares in lots
    EXPECT_EQ(book.priceText(5), "10.20");  // 买一
    EXPECT_EQ(book.priceText(9), "10.16");  // 买五
    const StockRecord bare = quote(10.20, 1000, "10:31:05", false);
    book.setQuote(&bare);
    EXPECT_EQ(book.priceText(5), "—");
    EXPECT_EQ(book.volumeText(0), "—");

    ShownStock shown;
    QLabel day, open, close, yesClose, change, range, closeLabel;
    DayPricesPanel panel(shown, {&day, &open, &close, &yesClose, &change, &range, &closeLabel});
    StockRecord record = quote(10.0, 0, "15:00:00", true, "2026-12-07");
    record.date = "2026-12-07";
    shown.show("浦发银行", record);
    EXPECT_EQ(close.text(), "10.00");
    panel.showLiveQuote(&live);
    EXPECT_EQ(day.text(), "2026-12-08 10:31:05");
    EXPECT_EQ(close.text(), "10.20");
    EXPECT_EQ(closeLabel.text(), "现价");
    EXPECT_EQ(change.text(), "2.00%");
    // An older quote than the record leaves the record's figures.
    const StockRecord old = quote(9.0, 0, "15:00:00", true, "2026-12-04");
    panel.showLiveQuote(&old);
    EXPECT_EQ(day.text(), "2026-12-07");
    EXPECT_EQ(closeLabel.text(), "收盘");
}
