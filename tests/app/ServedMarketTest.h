#pragma once
// The app's tests against the project's own data server: one made-up market
// (30 stocks over 200 days, result files of 66 earlier days) published once
// for the whole test program; for each test a fresh data directory, and the
// Qt main-thread dispatcher and the server's addresses installed, restored
// afterwards.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <memory>

#include "PublishedMarket.h"
#include "platform/QtMainThreadDispatcher.h"
#include "orvane/market/MarketServers.h"

namespace orvane::test {

class ServedMarketTest : public ::testing::Test {
  public:
    /// Ends the shared server (the test program's main, after the tests).
    static void stopServing() { held().reset(); }

  protected:
    static ServedTree& served() { return shared().served; }
    static const std::vector<server::StockSeries>& market() { return shared().market; }

    void SetUp() override {
        ASSERT_FALSE(market().empty());
        MainThreadDispatcher::install(dispatcher);
        useDataServer(served().url("/orvane"));
    }
    void TearDown() override {
        MarketServers::install(nullptr);
        MainThreadDispatcher::install(nullptr);
    }
    static void useDataServer(const std::string& url) {
        MarketServers::install(std::make_shared<MarketServers>(url, served().url("/")));
    }

    TempDataDir dir;
    std::shared_ptr<app::QtMainThreadDispatcher> dispatcher =
        std::make_shared<app::QtMainThreadDispatcher>(QCoreApplication::instance());

  private:
    struct Market {
        ServedTree served;
        std::vector<server::StockSeries> market =
            publishSyntheticMarket(served, 30, *parseDate("2025-12-05"), 200, 66);
    };
    static std::unique_ptr<Market>& held() {
        static std::unique_ptr<Market> m;
        return m;
    }
    static Market& shared() {
        if (!held()) held() = std::make_unique<Market>();
        return *held();
    }
};

/// Serves the window thread's events until `done` holds or the time is up.
inline bool waitUntil(const std::function<bool()>& done, int ms = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QTest::qWait(20);
    return done();
}

}  // namespace orvane::test
