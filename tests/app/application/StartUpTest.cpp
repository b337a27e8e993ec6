// The application's start-up, verdict, day chart and quit against the
// project's own data server over a small published market.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

#include "application/AppWorkers.h"
#include "alerts/ModelBAlerts.h"
#include "application/QXApplication.h"
#include "mainwindow/QXDocument.h"
#include "ServedMarketTest.h"
#include "mainwindow/VerdictDisplay.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/ResultFile.h"
#include "ui_QXDocument.h"

using namespace orvane;
using namespace orvane::app;

namespace {

using AppStartUp = test::ServedMarketTest;
using test::waitUntil;

}  // namespace

TEST_F(AppStartUp, LoadsInOrderShowsAVerdictOpensTheDayChartAndSavesTheTargetOnQuit) {
    QXApplication app(dispatcher);
    app.applicationWillFinishLaunching();
    ASSERT_TRUE(app.openMainWindow());
    QXDocument& doc = *app.document();
    Ui::QXDocument& ui = doc.ui();
    EXPECT_EQ(doc.windowTitle(), "Orvane");
    EXPECT_EQ(ui.switchTableView->currentIndex(), 1);
    EXPECT_FALSE(ui.addMyStockBtn->isEnabled());
    EXPECT_TRUE(ui.notifyBtn->isHidden());
    EXPECT_TRUE(ui.modeB_ImageView->isHidden());
    EXPECT_EQ(ui.searchURLField->text(), "日K线");  // no Setting.plist: the window's own

    // The reference archive arrives in the background and fills the
    // sector pop-up again; workers 3 and 4 are not started twice.
    ASSERT_TRUE(waitUntil([&] { return ui.plantPopbtn->count() > 0; }));
    EXPECT_EQ(doc.workers().startedCount(), 4u);
    doc.initMyStocklist();
    EXPECT_EQ(doc.workers().startedCount(), 4u);
    // Worker 1's market report reaches the report line.
    EXPECT_TRUE(waitUntil([&] { return ui.marketReportTextField->text().contains("市场分数"); }));

    const std::string code = market().front().listing.code;
    QSignalSpy shown(&doc, &QXDocument::verdictShown);
    doc.downloadOneStockData(code);
    EXPECT_FALSE(ui.downloadData->isEnabled());  // the fetch runs on a worker
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 1; }));
    const auto record = parseRetStockServerData(
        *readFile(served().tree() / ("const/hisdata/retdata/" + code + ".txt")), nullptr);
    ASSERT_TRUE(record);
    EXPECT_EQ(ui.selectedResultCapture->text(),
              QString::fromStdString(makeVerdictView(*record, 0).verdict).replace("\r\n", "\n"));
    EXPECT_EQ(ui.stockCodeTokenField->text().toStdString(), code);
    EXPECT_TRUE(ui.downloadData->isEnabled());

    // A click on a model-B alert for the stock opens its day chart.
    QSignalSpy charted(&doc, &QXDocument::dayChartOpened);
    ui.stockCodeTokenField->clear();
    emit doc.alerts().notificationActivated(QString::fromStdString(code));
    ASSERT_TRUE(waitUntil([&] { return charted.count() == 1; }));
    EXPECT_EQ(charted.at(0).at(0).toString().toStdString(),
              (getLine_K_Path() / (code + ".txt")).string());
    EXPECT_EQ(doc.kWindowController()->kLineViewList().size(), 1u);

    ui.searchURLField->setText("新浪财经");
    app.applicationWillTerminate();
    const auto settings = readPropertyList(dataPath("Setting.plist"));
    ASSERT_TRUE(settings && settings->isDictionary());
    EXPECT_EQ(settings->dictionary().at("searchKey").string(), "新浪财经");
}

TEST_F(AppStartUp, AServerThatDoesNotAnswerGivesTheAlertAndNothingMore) {
    useDataServer("http://127.0.0.1:1/orvane");
    QXApplication app(dispatcher);
    QStringList alerts;
    app.setAlertPresenter(
        [&](const QString& title, const QString& message) { alerts << title << message; });
    app.applicationWillFinishLaunching();
    EXPECT_FALSE(app.openMainWindow());
    EXPECT_EQ(alerts, (QStringList{"链接不上服务器,请确定您的电脑已经连接互联网!",
                                   "       Orvane 必须在有互联网的环境下才能使用 , "
                                   "没有网络的环境下应用程序即将退出！或者稍后在试"}));
    EXPECT_EQ(app.document()->workers().startedCount(), 0u);
    EXPECT_EQ(app.document()->ui().plantPopbtn->count(), 0);
}

TEST_F(AppStartUp, SettingsTargetsAndBadFiles) {
    QXDocument doc;
    // Garbage: the defaults, the file kept aside, one word in the status line.
    writeFileAtomically(dataPath("Setting.plist"), "\x01\x02 not a list");
    doc.initMyStocklist();
    EXPECT_EQ(doc.ui().searchURLField->text(), "日K线");
    EXPECT_TRUE(doc.ui().statusField->text().contains("Setting.plist 已损坏"));
    EXPECT_FALSE(std::filesystem::exists(dataPath("Setting.plist")));
    // No code table yet: the search field says so.
    EXPECT_TRUE(doc.ui().stockCodeTokenField->placeholderText().startsWith("没有股票代码表"));

    writePropertyList(dataPath("Setting.plist"), Value(Dictionary{{"searchKey", "雪球财经"}}));
    doc.initMyStocklist();
    EXPECT_EQ(doc.ui().searchURLField->text(), "雪球财经");
    writePropertyList(dataPath("Setting.plist"), Value(Dictionary{{"other", 1}}));
    doc.initMyStocklist();
    EXPECT_EQ(doc.ui().searchURLField->text(), "日K线");
    EXPECT_EQ(doc.ui().thresholdValueText->text(), "突破关键点阀值:148");
    EXPECT_EQ(doc.ui().hushenGainsTextField->text(), "沪深涨幅前 120 位");
    doc.shutDown();
}
