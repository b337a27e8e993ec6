// The menu's import of a user's market: the dialog's survey, an import
// served in process and used as the data server, a stopped or failed import
// that changes nothing, and the background publish at start when the folder
// has new days. Markets are made up, written in our own layout and then as
// the desktop terminals' day files.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>

#include "MarketLayouts.h"
#include "ServedMarketTest.h"
#include "TempDataDir.h"
#include "application/QXApplication.h"
#include "mainwindow/QXDocument.h"
#include "mainwindow/ShownStock.h"
#include "marketimport/ImportedMarket.h"
#include "marketimport/MarketImportDialog.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/StagingFolder.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/publisher/SyntheticMarket.h"
#include "platform/QtMainThreadDispatcher.h"
#include "ui_MarketImportDialog.h"
#include "ui_QXDocument.h"

namespace fs = std::filesystem;
using namespace orvane;
using namespace orvane::app;
using orvane::test::waitUntil;

namespace {

/// `count` made-up stocks over 120 days ending on `lastDay`, written in our
/// own layout and then as day files in `folder`/`name` (vipdoc/ and a code list).
fs::path writeMadeUpDayFiles(const fs::path& folder, const std::string& name, int count,
                             const char* lastDay) {
    const fs::path own = folder / (name + "-own"), out = folder / name,
                   list = folder / (name + "-stocklist.csv");
    fs::create_directories(own);
    std::ofstream listing(list);
    listing << "symbol,name\n";
    for (const auto& s : server::makeSyntheticMarket(count, 7, *parseDate(lastDay), 120)) {
        listing << s.listing.code << "," << s.listing.name << "\n";
        std::ofstream csv(own / (s.listing.code + ".csv"));
        csv << "date,open,high,low,close,volume,amount\n";
        char line[160];
        for (const auto& b : s.bars) {
            std::snprintf(line, sizeof line, "%s,%.2f,%.2f,%.2f,%.2f,%.0f,%.0f\n", b.date.c_str(),
                          b.open, b.high, b.low, b.close, b.volume, b.volume * b.close * 100);
            csv << line;
        }
    }
    listing.close();
    test::writeDayFiles(own, list, out);
    return out;
}

class MarketImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        MainThreadDispatcher::install(dispatcher);
        MarketServers::install(
            std::make_shared<MarketServers>("http://127.0.0.1:9/before", "http://127.0.0.1:9/"));
    }
    void TearDown() override {
        MarketServers::install(nullptr);
        MainThreadDispatcher::install(nullptr);
    }

    fs::path writeDayFileMarket(const std::string& name, int count, const char* lastDay) {
        return writeMadeUpDayFiles(dir.path(), name, count, lastDay);
    }

    static void touch(const fs::path& folder, fs::file_time_type when) {
        for (const auto& e : fs::recursive_directory_iterator(folder))
            if (e.is_regular_file()) fs::last_write_time(e.path(), when);
    }

    /// Waits for the import's end; its outcome.
    static ImportOutcome waitForImport(ImportedMarket& market) {
        std::optional<ImportOutcome> outcome;
        QObject::connect(
            &market, &ImportedMarket::importEnded, &market,
            [&outcome](const ImportOutcome& o, bool) { outcome = o; }, Qt::SingleShotConnection);
        EXPECT_TRUE(waitUntil([&] { return outcome.has_value(); }));
        return outcome.value_or(ImportOutcome{});
    }

    /// A file of the program's data server, fetched as the app fetches.
    static std::string fetched(std::string_view serverPath) {
        auto request = HttpRequest::requestWithURL(dataServerURL(serverPath));
        request->startSynchronous();
        EXPECT_FALSE(request->error()) << request->url() << ": " << *request->error();
        return request->responseData();
    }

    static bool noStagingFolderBeside(const fs::path& tree) {
        for (const auto& e : fs::directory_iterator(tree.parent_path()))
            if (e.path().filename().string().find(".staging") != std::string::npos) return false;
        return true;
    }

    test::TempDataDir dir;
    QTemporaryDir settings;
    std::shared_ptr<QtMainThreadDispatcher> dispatcher =
        std::make_shared<QtMainThreadDispatcher>(QCoreApplication::instance());
    const fs::path tree = dir.path() / "ImportedMarket";
};

TEST_F(MarketImportTest, DialogShowsTheLayoutFoundAndCountsTheStocksOnlyAFolderInALayoutImports) {
    const fs::path market = writeDayFileMarket("tdx", 6, "2025-11-28");
    ImportedMarket imported(tree);
    MarketImportDialog dialog(imported);
    QSignalSpy shown(&dialog, &MarketImportDialog::surveyShown);
    auto& ui = dialog.ui();

    ui.sourceEdit->setText(QString::fromStdString(market.string()));
    dialog.surveySource();
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 1; }));
    EXPECT_TRUE(ui.layoutLabel->text().contains("日线文件"))
        << ui.layoutLabel->text().toStdString();
    // The index, the fund and the Beijing stock beside the shares are no stocks.
    EXPECT_TRUE(ui.stockCountLabel->text().startsWith("6 只"))
        << ui.stockCountLabel->text().toStdString();
    EXPECT_TRUE(ui.importButton->isEnabled());
    EXPECT_FALSE(ui.stopButton->isEnabled());

    const fs::path unknown = dir.path() / "notes";
    fs::create_directories(unknown);
    std::ofstream(unknown / "readme.txt") << "nothing of a market\n";
    ui.sourceEdit->setText(QString::fromStdString(unknown.string()));
    dialog.surveySource();
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 2; }));
    EXPECT_EQ(ui.layoutLabel->text(), "没有认出的格式");
    EXPECT_FALSE(ui.stockCountLabel->text().isEmpty());
    EXPECT_FALSE(ui.importButton->isEnabled());
}

TEST_F(MarketImportTest, AnImportIsServedInProcessAndBecomesTheDataServerAndTheRememberedChoice) {
    const fs::path market = writeDayFileMarket("tdx", 5, "2025-11-28");
    ImportedMarket imported(tree);
    MarketImportDialog dialog(imported);
    auto& ui = dialog.ui();
    ui.sourceEdit->setText(QString::fromStdString(market.string()));
    ui.stockListEdit->setText(QString::fromStdString((market / "codes.csv").string()));
    QSignalSpy shown(&dialog, &MarketImportDialog::surveyShown);
    dialog.surveySource();
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 1; }));
    QSignalSpy switched(&imported, &ImportedMarket::marketSwitched);

    ui.importButton->click();
    EXPECT_TRUE(imported.importing());
    EXPECT_TRUE(ui.stopButton->isEnabled());
    const ImportOutcome outcome = waitForImport(imported);
    ASSERT_EQ(outcome.result, ImportOutcome::Result::Published) << outcome.message;
    EXPECT_EQ(outcome.stocks, 5u);
    EXPECT_EQ(outcome.layout, MarketLayout::DayFiles);
    EXPECT_EQ(switched.count(), 1);
    EXPECT_TRUE(ui.progressLabel->text().startsWith("已导入 5 只股票"))
        << ui.progressLabel->text().toStdString();

    // The program's servers are the in-process server over the tree.
    ASSERT_TRUE(imported.server().running());
    EXPECT_EQ(MarketServers::shared()->dataServer, imported.server().dataServer());
    EXPECT_EQ(MarketServers::shared()->quoteServer, imported.server().quoteServer());
    EXPECT_FALSE(dataServerProblem(5));
    const auto stocks = server::makeSyntheticMarket(5, 7, *parseDate("2025-11-28"), 120);
    const std::string code = stocks.front().listing.code;
    EXPECT_EQ(fetched(serverpath::historyFilePath(code)),
              readFile(tree / fs::path(serverpath::historyFilePath(code)).relative_path()));
    EXPECT_NE(fetched(serverpath::historyFilePath(code)).find("2025-11-28"), std::string::npos);

    const auto choice = rememberedImportChoice();
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->source, market);
    EXPECT_EQ(choice->stockList, market / "codes.csv");
    EXPECT_GT(choice->newestSourceTime, 0);
}

TEST_F(MarketImportTest, StoppedAndFailedImportsLeaveTheTreeTheServerAndTheChoice) {
    const fs::path first = writeDayFileMarket("first", 4, "2025-11-28");
    const fs::path second = writeDayFileMarket("second", 8, "2025-12-05");
    ImportedMarket imported(tree);
    ASSERT_TRUE(imported.startImport({first}));
    ASSERT_EQ(waitForImport(imported).result, ImportOutcome::Result::Published);
    const auto choice = rememberedImportChoice();
    const std::string version = *readFile(tree / "const/updateconfigfile.txt");
    const std::string served = MarketServers::shared()->dataServer;

    // Stopped at once: the import ends before it publishes anything.
    ASSERT_TRUE(imported.startImport({second}));
    EXPECT_FALSE(imported.startImport({second}));  // one at a time
    imported.stopImport();
    EXPECT_EQ(waitForImport(imported).result, ImportOutcome::Result::Stopped);

    // A folder in no layout, and an unreadable stock list, fail.
    fs::create_directories(dir.path() / "empty");
    ASSERT_TRUE(imported.startImport({dir.path() / "empty"}));
    const ImportOutcome noLayout = waitForImport(imported);
    EXPECT_EQ(noLayout.result, ImportOutcome::Result::Failed);
    EXPECT_FALSE(noLayout.message.empty());
    ASSERT_TRUE(imported.startImport({second, dir.path() / "missing.csv"}));
    EXPECT_EQ(waitForImport(imported).result, ImportOutcome::Result::Failed);

    EXPECT_EQ(*readFile(tree / "const/updateconfigfile.txt"), version);
    EXPECT_EQ(rememberedImportChoice(), choice);
    EXPECT_EQ(MarketServers::shared()->dataServer, served);
    EXPECT_TRUE(noStagingFolderBeside(tree));
    EXPECT_FALSE(dataServerProblem(5));
}

TEST_F(MarketImportTest, AtStartAFolderWithANewDayIsPublishedAgainInTheBackground) {
    const fs::path market = writeDayFileMarket("tdx", 4, "2025-11-27");
    const auto lastWeek = fs::file_time_type::clock::now() - std::chrono::hours(24 * 7);
    touch(market, lastWeek);
    {
        ImportedMarket imported(tree);
        ASSERT_TRUE(imported.startImport({market}));
        ASSERT_EQ(waitForImport(imported).result, ImportOutcome::Result::Published);
    }
    const std::string code =
        server::makeSyntheticMarket(4, 7, *parseDate("2025-11-27"), 120).front().listing.code;
    const fs::path history = tree / fs::path(serverpath::historyFilePath(code)).relative_path();

    // The next start, nothing new: the tree is served as it is.
    {
        ImportedMarket imported(tree);
        ASSERT_TRUE(imported.serveRemembered());
        QSignalSpy ended(&imported, &ImportedMarket::importEnded);
        ASSERT_TRUE(imported.refreshWhenNewer());
        ASSERT_TRUE(waitUntil([&] { return !imported.importing(); }));
        EXPECT_EQ(ended.count(), 0);
        EXPECT_EQ(fetched(serverpath::historyFilePath(code)).find("2025-11-28"), std::string::npos);
    }

    // The folder gains a day: the start serves the old tree at once, then
    // the new one, and says the market changed.
    fs::remove_all(market);
    writeDayFileMarket("tdx", 4, "2025-11-28");
    ImportedMarket imported(tree);
    ASSERT_TRUE(imported.serveRemembered());
    EXPECT_EQ(MarketServers::shared()->dataServer, imported.server().dataServer());
    QSignalSpy switched(&imported, &ImportedMarket::marketSwitched);
    ASSERT_TRUE(imported.refreshWhenNewer());
    ASSERT_TRUE(imported.importing());
    std::optional<std::pair<ImportOutcome, bool>> ended;
    QObject::connect(
        &imported, &ImportedMarket::importEnded, &imported,
        [&](const ImportOutcome& o, bool background) { ended.emplace(o, background); });
    ASSERT_TRUE(waitUntil([&] { return ended.has_value(); }));
    EXPECT_EQ(ended->first.result, ImportOutcome::Result::Published) << ended->first.message;
    EXPECT_TRUE(ended->second);
    EXPECT_EQ(switched.count(), 1);
    EXPECT_NE(readFile(history)->find("2025-11-28"), std::string::npos);
    EXPECT_NE(fetched(serverpath::historyFilePath(code)).find("2025-11-28"), std::string::npos);
    EXPECT_GT(rememberedImportChoice()->newestSourceTime,
              std::chrono::duration_cast<std::chrono::seconds>(
                  fs::file_time_type::clock::to_sys(lastWeek).time_since_epoch())
                  .count());
}

// The whole application: an import from its menu's dialog switches the
// window, which fetches the stock on screen again from the imported market,
// and quitting stops the in-process server.
class WindowOnImportedMarket : public test::ServedMarketTest {
  protected:
    void SetUp() override {
        ServedMarketTest::SetUp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    }
    QTemporaryDir settings;
};

TEST_F(WindowOnImportedMarket, APublishedImportSwitchesTheWindowAndFetchesTheShownStockAgain) {
    QXApplication app(dispatcher);
    app.applicationWillFinishLaunching();
    ASSERT_TRUE(app.openMainWindow());
    QXDocument& doc = *app.document();
    const std::string code = market().front().listing.code;
    QSignalSpy shown(&doc, &QXDocument::verdictShown);
    doc.downloadOneStockData(code);
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 1; }));
    EXPECT_EQ(doc.shownStock().record()->date, "2025-12-05");  // the served market's last day

    const fs::path folder = writeMadeUpDayFiles(dir.path(), "tdx", 5, "2025-11-28");
    doc.ui().actionImportMarket->trigger();
    MarketImportDialog* dialog = app.marketImportDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    QSignalSpy surveyed(dialog, &MarketImportDialog::surveyShown);
    dialog->ui().sourceEdit->setText(QString::fromStdString(folder.string()));
    dialog->surveySource();
    ASSERT_TRUE(waitUntil([&] { return surveyed.count() == 1; }));
    dialog->ui().importButton->click();
    ASSERT_TRUE(waitUntil([&] { return shown.count() == 2; }));
    EXPECT_EQ(doc.shownStock().code(), code);
    EXPECT_EQ(doc.shownStock().record()->date, "2025-11-28");
    EXPECT_EQ(MarketServers::shared()->dataServer, app.importedMarket().server().dataServer());

    app.applicationWillTerminate();
    EXPECT_FALSE(app.importedMarket().server().running());
}

}  // namespace

// With an events file the prices are adjusted forward and the traded ones
// published beside them; an events file that cannot be used fails the
// import before the market is read.
TEST_F(MarketImportTest, AnEventsFileAdjustsThePricesAndKeepsTheTradedOnesBeside) {
    const fs::path market = writeDayFileMarket("tdx", 3, "2025-11-28");
    const std::string code =
        server::makeSyntheticMarket(3, 7, *parseDate("2025-11-28"), 120).front().listing.code;
    const fs::path events = dir.path() / "events.csv";
    std::ofstream(events) << "code,date,cash_per_10,bonus_per_10,transfer_per_10,rights_per_10,"
                             "rights_price\n"
                          << code << ",2025-11-03,,10,,,\n";
    const auto run = [&](const fs::path& eventsFile) {
        return importMarket({market, {}, eventsFile, tree, 1}, [](const ImportProgress&) {}, {});
    };
    ASSERT_EQ(run(events).result, ImportOutcome::Result::Published);
    const auto history = [&](std::string_view path) {
        return readFile(tree / fs::path(path).relative_path()).value_or("");
    };
    const std::string adjusted = history(serverpath::historyFilePath(code)),
                      traded = history(serverpath::tradedHistoryFilePath(code));
    ASSERT_FALSE(traded.empty());
    EXPECT_NE(adjusted, traded);
    // The newest day stays as traded: both texts open with the same day.
    const auto secondLine = [](const std::string& t) {
        const auto a = t.find('\n') + 1;
        return t.substr(a, t.find('\n', a) - a);
    };
    EXPECT_EQ(secondLine(adjusted), secondLine(traded));

    std::ofstream(events) << "code,date\n";
    const ImportOutcome bad = run(events);
    EXPECT_EQ(bad.result, ImportOutcome::Result::Failed);
    EXPECT_NE(bad.message.find("no \"cash_per_10\" column"), std::string::npos) << bad.message;
}
