// The market report of a window program's launch on a fresh data folder:
// the launch's reference archive is still on its way when the report's
// worker starts.

#include <gtest/gtest.h>

#include <httplib.h>

#include <optional>
#include <stop_token>
#include <thread>

#include "LocalHttpServer.h"
#include "PublishedMarket.h"
#include "ServedTree.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/RunLoop.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ReferenceInstallGate.h"
#include "orvane/market/ReferenceUpdate.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/reports/MarketInformation.h"
#include "orvane/stocklib/QXStockLib.h"

using namespace orvane;
using namespace std::chrono_literals;

namespace {

// The status line each report ends with.
class StatusLines final : public QXStockLibUpdateDelegate {
  public:
    void setStatusBarMarketReportTextDelegate(const StyledText& text, int progress) override {
        if (progress == 99) lines.push_back(text.text);
    }
    std::vector<std::string> lines;
};

// A published market served with its reference archive held back a while,
// as a slow download would be.
class SlowArchiveServer {
  public:
    explicit SlowArchiveServer(const test::ServedTree& served) {
        server_.server().Get(R"(/orvane/(.+))", [this, &served](const httplib::Request& req,
                                                                httplib::Response& res) {
            const std::string relative = req.matches[1].str();
            if (relative == "const/constdata.zip") server_.pause(1500);
            const auto bytes = readFile(served.tree() / relative);
            res.status = bytes ? 200 : 404;
            res.set_content(bytes.value_or("<html>404</html>"), "application/octet-stream");
        });
        server_.start();
    }
    std::string url(const std::string& path) const { return server_.url(path); }

  private:
    test::LocalHttpServer server_;
};

/// One market report on a worker while this thread serves the main thread.
std::optional<std::int32_t> reportOnAWorker(RunLoop& loop) {
    std::optional<std::int32_t> score;
    bool done = false;
    std::jthread worker([&](std::stop_token stop) {
        score = runMarketInfoProcess(QXStockLib::defQXStockLib(), stop);
        postToMainThread([&] { done = true; });
    });
    EXPECT_TRUE(loop.runUntil([&] { return done; }, 120s));
    return score;
}

}  // namespace

TEST(MarketReportOnAFreshDataFolder, WaitsForTheReferenceArchiveOnItsWay) {
    test::ServedTree served;
    ASSERT_FALSE(test::publishSyntheticMarket(served, 48, *parseDate("2025-12-05"), 120).empty());
    SlowArchiveServer slow(served);
    test::TempDataDir fresh;
    MarketServers::install(std::make_shared<MarketServers>(slow.url("/orvane"), slow.url("/")));
    StatusLines status;
    QXStockLib::defQXStockLib().setDelegate(&status);
    ScopedRunLoop loop;

    auto update = ReferenceUpdate::create();
    std::optional<bool> installed;
    update->setFinishHandler([&](const ArchiveInstallResult& r) { installed = r.installed; });
    ASSERT_EQ(update->downloadConstData(), ReferenceUpdate::Check::Downloading);
    EXPECT_TRUE(ReferenceInstallGate::shared().pending());
    const auto first = reportOnAWorker(loop.loop());
    ASSERT_TRUE(loop.loop().runUntil([&] { return installed.has_value(); }, 30s));
    EXPECT_TRUE(*installed);
    EXPECT_FALSE(SectorGroups::shared().getPlateGroupNameArray().empty());

    // The same lists again, with the reference data long in place: the same report.
    const auto second = reportOnAWorker(loop.loop());
    QXStockLib::defQXStockLib().setDelegate(nullptr);
    MarketServers::install(nullptr);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(*first, *second);
    ASSERT_EQ(status.lines.size(), 2u);
    EXPECT_EQ(status.lines[0], status.lines[1]);
}

TEST(ReferenceInstallGate, OpensWhenEveryInstallationEnded) {
    ReferenceInstallGate gate;
    EXPECT_TRUE(gate.waitUntilSettled());
    gate.begin();
    gate.begin();
    gate.end();
    EXPECT_TRUE(gate.pending());
    std::stop_source stop;
    std::jthread stopper([&] { stop.request_stop(); });
    EXPECT_FALSE(gate.waitUntilSettled(stop.get_token()));
    std::jthread ender([&] { gate.end(); });
    EXPECT_TRUE(gate.waitUntilSettled());
    EXPECT_FALSE(gate.pending());
}
