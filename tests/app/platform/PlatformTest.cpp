#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

#include "ServedMarketTest.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/core/StringTable.h"
#include "orvane/market/MarketServers.h"
#include "platform/QXProcessUIController.h"
#include "platform/QtMainThreadDispatcher.h"
#include "platform/QtSeams.h"
#include "platform/ServerPreferences.h"
#include "platform/ServerSettingsDialog.h"

using namespace orvane;
using namespace orvane::app;

// Workers' tasks run on the main thread, each worker's in the order it posted
// them (scripts/tsan runs this under ThreadSanitizer: every hand-off must be
// ordered by a lock it sees). After shutDown nothing runs and a waiting
// worker is let go.
TEST(QtMainThreadDispatcher, WorkersTasksRunOnTheMainThreadInOrderUntilShutDown) {
    QtMainThreadDispatcher dispatcher(qApp);
    constexpr int kWorkers = 4, kTasks = 50;
    std::vector<std::vector<int>> ran(kWorkers);
    int offMainThread = 0, waited = 0;
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([&, w] {
            for (int i = 0; i < kTasks; ++i)
                dispatcher.post([&, w, i] {
                    offMainThread += !dispatcher.isMainThread();
                    ran[w].push_back(i);
                });
            dispatcher.invokeAndWait([&] { ++waited; });
        });
    std::size_t total = 0;
    EXPECT_TRUE(test::waitUntil([&] {
        total = 0;
        for (const auto& r : ran) total += r.size();
        return total == kWorkers * kTasks && waited == kWorkers;
    }));
    for (auto& t : workers) t.join();
    EXPECT_EQ(offMainThread, 0);
    for (const auto& r : ran) {
        ASSERT_EQ(r.size(), static_cast<std::size_t>(kTasks));
        EXPECT_TRUE(std::is_sorted(r.begin(), r.end()));
    }

    dispatcher.shutDown();
    bool late = false;
    std::thread([&] {
        dispatcher.post([&] { late = true; });
        dispatcher.invokeAndWait([&] { late = true; });
    }).join();
    QCoreApplication::processEvents();
    EXPECT_FALSE(late);
}

TEST(QtSeams, TheTranslationAnswersEveryKeyUntilTheSeamsAreGone) {
    {
        auto seams = installQtSeams(*qApp);
        for (const char* key :
             {"title", "Property1", "Property2", "Property3", "Property4", "Property5", "Property6",
              "Property7", "answer1", "answer2", "answer3", "answer4"})
            EXPECT_FALSE(localizedString(key).empty()) << key;
        EXPECT_EQ(localizedString("noticeDown2"),
                  StringTable::headlessDefault()->localizedString("noticeDown2"));
        EXPECT_EQ(localizedString("Property8"), "");
        EXPECT_EQ(QXProcessUIController::defaultQXProcessUIController(), seams.progressPanel);
    }
    EXPECT_FALSE(QXProcessUIController::defaultQXProcessUIController());
    EXPECT_EQ(localizedString("Property1"), "");
}

TEST(AppResources, IconAndModelBBadgeRender) {
    initAppResources();
    for (const char* image : {":/app/orvane.svg", ":/app/modeB.svg"})
        EXPECT_FALSE(QImage(image).isNull()) << image;
}

class ServerPreferencesTest : public testing::Test {
  protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        unsetenv(kDataServerVariable);
        unsetenv(kQuoteServerVariable);
    }
    void TearDown() override {
        MarketServers::install(nullptr);
        unsetenv(kDataServerVariable);
        unsetenv(kQuoteServerVariable);
    }
    static QString storedValue(const char* key) {
        return QSettings("Orvane", "Orvane").value(key).toString();
    }
    static QLineEdit* field(ServerSettingsDialog& dialog, const char* name) {
        auto* edit = dialog.findChild<QLineEdit*>(name);
        EXPECT_TRUE(edit) << name;
        return edit;
    }

    QTemporaryDir dir;
    const ServerAddresses defaults = ServerPreferences::defaults();
};

TEST_F(ServerPreferencesTest, CommandLineOverSettingsOverDefault) {
    EXPECT_EQ(ServerPreferences().effective(), defaults);

    ASSERT_TRUE(ServerPreferences().store({"http://data.test/orvane", defaults.quoteServer}));
    EXPECT_EQ(storedValue("server/data"), "http://data.test/orvane");
    EXPECT_FALSE(QSettings("Orvane", "Orvane").contains("server/quote"));  // default not stored
    EXPECT_EQ(ServerPreferences().effective(),
              (ServerAddresses{"http://data.test/orvane", defaults.quoteServer}));

    std::vector<std::string> args{"--chart", "a.txt", "--quote-server", "http://quote.test/"};
    std::string error;
    const auto overrides = takeServerOptions(args, error);
    ASSERT_TRUE(overrides);
    EXPECT_EQ(args, (std::vector<std::string>{"--chart", "a.txt"}));
    const ServerPreferences preferences(*overrides);
    EXPECT_EQ(preferences.effective(),
              (ServerAddresses{"http://data.test/orvane", "http://quote.test/"}));
    preferences.install();
    EXPECT_EQ(MarketServers::shared()->quoteServer, "http://quote.test/");
    EXPECT_EQ(MarketServers::shared()->dataServer, "http://data.test/orvane");
}

TEST_F(ServerPreferencesTest, EnvironmentBetweenCommandLineAndSettings) {
    ASSERT_TRUE(ServerPreferences().store({"http://data.test/orvane", defaults.quoteServer}));
    setenv(kDataServerVariable, "http://127.0.0.1:9000/orvane", 1);
    // The data server named alone serves the quotes too.
    EXPECT_EQ(ServerPreferences().effective(),
              (ServerAddresses{"http://127.0.0.1:9000/orvane", "http://127.0.0.1:9000/"}));
    EXPECT_TRUE(ServerPreferences().hasOverrides());
    setenv(kQuoteServerVariable, "http://quote.test/", 1);
    EXPECT_EQ(ServerPreferences().effective().quoteServer, "http://quote.test/");
    const ServerPreferences commandLine(ServerOverrides{"http://cli.test:7000/x", std::nullopt});
    EXPECT_EQ(commandLine.effective(),
              (ServerAddresses{"http://cli.test:7000/x", "http://quote.test/"}));
    setenv(kDataServerVariable, "not an address", 1);
    unsetenv(kQuoteServerVariable);
    EXPECT_EQ(ServerPreferences().effective(),
              (ServerAddresses{"http://data.test/orvane", defaults.quoteServer}));
}

// The window shows the addresses the program uses, and OK without a change
// keeps the command line's addresses out of the settings.
TEST_F(ServerPreferencesTest, DialogShowsTheAddressesInUse) {
    const ServerPreferences preferences(
        ServerOverrides{"http://127.0.0.1:18500/orvane", std::nullopt});
    preferences.install();
    ServerSettingsDialog dialog{preferences};
    QLineEdit *data = field(dialog, "dataServerField"), *quote = field(dialog, "quoteServerField");
    ASSERT_TRUE(data && quote);
    EXPECT_EQ(data->text().toStdString(), MarketServers::shared()->dataServer);
    EXPECT_EQ(quote->text().toStdString(), MarketServers::shared()->quoteServer);
    EXPECT_EQ(quote->text(), "http://127.0.0.1:18500/");
    EXPECT_TRUE(dialog.findChild<QLabel*>("overrideNote")->isVisibleTo(&dialog));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(QSettings("Orvane", "Orvane").contains("server/data"));
    EXPECT_FALSE(QSettings("Orvane", "Orvane").contains("server/quote"));
}

TEST_F(ServerPreferencesTest, OnlyHttpAddressesAreAccepted) {
    for (const char* good : {"http://h", "http://127.0.0.1:8468/orvane", "http://h.test/a/b/"})
        EXPECT_TRUE(isValidServerURL(good)) << good;
    for (const char* bad : {"", "h.test", "https://h.test", "ftp://h.test", "http://",
                            "http:/h.test", "http://h.test/?q=1", " http://h.test"})
        EXPECT_FALSE(isValidServerURL(bad)) << bad;

    EXPECT_FALSE(ServerPreferences().store({"https://data.test", defaults.quoteServer}));
    EXPECT_FALSE(QSettings("Orvane", "Orvane").contains("server/data"));

    std::string error;
    for (std::vector<std::string> args :
         {std::vector<std::string>{"--server"}, {"--server", "ftp://x"}})
        EXPECT_FALSE(takeServerOptions(args, error));
}

TEST_F(ServerPreferencesTest, DialogStoresValidAddressesAndResets) {
    ASSERT_TRUE(ServerPreferences().store({"http://old.test/orvane", defaults.quoteServer}));
    ServerSettingsDialog dialog{ServerPreferences()};
    QLineEdit *data = field(dialog, "dataServerField"), *quote = field(dialog, "quoteServerField");
    ASSERT_TRUE(data && quote);
    EXPECT_EQ(data->text(), "http://old.test/orvane");
    EXPECT_EQ(quote->text(), defaults.quoteServer);

    data->setText("ftp://new.test");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.findChild<QLabel*>("errorLabel")->isVisibleTo(&dialog));
    EXPECT_EQ(storedValue("server/data"), "http://old.test/orvane");

    dialog.findChild<QPushButton*>("resetButton")->click();
    EXPECT_EQ(data->text(), defaults.dataServer);
    quote->setText("http://quote.test/");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(QSettings("Orvane", "Orvane").contains("server/data"));
    EXPECT_EQ(storedValue("server/quote"), "http://quote.test/");
    EXPECT_EQ(MarketServers::shared()->quoteServer, "http://quote.test/");
}
