// The application's start-up, verdict, day chart and quit against the
// project's own data server over a small published market.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "ServedMarketTest.h"
#include "alerts/ModelBAlerts.h"
#include "application/AppWorkers.h"
#include "application/DataServerCheck.h"
#include "application/QXApplication.h"
#include "mainwindow/QXDocument.h"
#include "mainwindow/StatusLine.h"
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
    // Its box names the day it judges.
    EXPECT_EQ(ui.searchBox->title().toStdString(), "个股诊断　" + *record->date + " 收盘判断");
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

TEST_F(AppStartUp, AServerThatDoesNotAnswerOffersTheWaysOnAndEndsOnlyWhenTheUserQuits) {
    const std::string goodServer = MarketServers::shared()->dataServer;
    useDataServer("http://127.0.0.1:1/orvane");
    QXApplication app(dispatcher);
    std::vector<UnreachableAlert> asked;
    std::vector<UnreachableChoice> answers{UnreachableChoice::TryAgain,
                                           UnreachableChoice::ServerSettings};
    app.setUnreachablePresenter([&](const UnreachableAlert& alert) {
        asked.push_back(alert);
        const UnreachableChoice choice = answers.at(asked.size() - 1);
        return choice;
    });
    // The settings put the right address in: the window then opens.
    int settingsOpened = 0;
    app.setServerSettingsOpener([&] {
        ++settingsOpened;
        useDataServer(goodServer);
    });
    app.applicationWillFinishLaunching();
    ASSERT_TRUE(app.openMainWindow());
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(asked[0].title, "链接不上服务器,请确定您的电脑已经连接互联网!");
    EXPECT_NE(asked[0].message.find("或者稍后再试"), std::string::npos);
    EXPECT_NE(asked[0].message.find("http://127.0.0.1:1/orvane"), std::string::npos);
    EXPECT_EQ(app.document()->workers().startedCount(), 4u);
    // The launch's reference check met no server: the one that answers now
    // brings the sectors, and the first market report has them.
    Ui::QXDocument& ui = app.document()->ui();
    ASSERT_TRUE(waitUntil([&] { return ui.plantPopbtn->count() > 0; }));
    ASSERT_TRUE(waitUntil([&] { return ui.marketReportTextField->text().contains("市场分数"); }));
    EXPECT_FALSE(ui.marketReportTextField->text().startsWith("0个板块有效上涨,0个板块下跌"));
    app.applicationWillTerminate();
}

TEST_F(AppStartUp, QuittingAtTheUnreachableServerAlertEndsBeforeTheListsAreFilled) {
    useDataServer("http://127.0.0.1:1/orvane");
    QXApplication app(dispatcher);
    int asked = 0;
    app.setUnreachablePresenter([&](const UnreachableAlert&) {
        ++asked;
        return UnreachableChoice::Quit;
    });
    app.applicationWillFinishLaunching();
    EXPECT_FALSE(app.openMainWindow());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(app.document()->workers().startedCount(), 0u);
    EXPECT_EQ(app.document()->ui().plantPopbtn->count(), 0);
}

TEST(DataServerCheck, EachChoiceTakesItsWayUntilTheServerAnswers) {
    int probes = 0, settings = 0, demos = 0;
    std::vector<UnreachableChoice> script{UnreachableChoice::TryAgain,
                                          UnreachableChoice::DemoMarket,
                                          UnreachableChoice::ServerSettings};
    std::size_t next = 0;
    const DataServerCheck check{
        .problem = [&]() -> std::optional<std::string> {
            return ++probes <= 3 ? std::optional<std::string>("refused") : std::nullopt;
        },
        .server = [] { return std::string("http://h:1/o"); },
        .ask = [&](const UnreachableAlert&) { return script.at(next++); },
        .openSettings = [&] { ++settings; },
        .startDemo = [&] { return ++demos > 0; },
    };
    EXPECT_TRUE(ensureDataServer(check));
    EXPECT_EQ(probes, 4);
    EXPECT_EQ(settings, 1);
    EXPECT_EQ(demos, 1);
}

TEST_F(AppStartUp, SettingsTargetsAndBadFiles) {
    QXDocument doc;
    // Garbage: the defaults, the file kept aside, one word in the status
    // line, which lists every file set aside until it is clicked.
    writeFileAtomically(dataPath("Setting.plist"), "\x01\x02 not a list");
    writeFileAtomically(dataPath("StockModeB.plist"), "<plist><array><dict><key>");
    doc.initMyStocklist();
    EXPECT_EQ(doc.ui().searchURLField->text(), "日K线");
    QLabel* status = doc.ui().statusField;
    EXPECT_FALSE(std::filesystem::exists(dataPath("Setting.plist")));
    doc.statusLine().showStatus("later message");
    for (const char* text : {"Setting.plist 已损坏", "StockModeB.plist 已损坏", "later message"})
        EXPECT_TRUE(status->text().contains(text)) << text << "\n" << status->text().toStdString();
    QTest::mouseClick(status, Qt::LeftButton);
    EXPECT_EQ(status->text(), "later message");
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
