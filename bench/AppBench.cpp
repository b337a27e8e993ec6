// The desktop application's responsiveness, measured on the real code table
// and against the project's own data server over a made-up market:
//   - completions for typed keys over the 5,429-stock code table (needs
//     ../shared/market/stocklist.csv; skipped without it);
//   - the main window's start-up, from the connectivity check until the
//     window answers events;
//   - one stock's fetch until its verdict is shown;
//   - the longest time the window thread does not run its event loop while
//     the market report runs again and again and the holdings worker
//     refreshes 50 quotes every 5 seconds.
// Run build/bin/app_bench [STOCKS] from the source folder (300 stocks by default).

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "application/AppWorkers.h"
#include "BenchTiming.h"
#include "PublishedMarket.h"
#include "application/QXApplication.h"
#include "mainwindow/QXDocument.h"
#include "sectors/SectorsPanel.h"
#include "platform/QtSeams.h"
#include "mainwindow/StockSearch.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/publisher/MarketImport.h"
#include "orvane/publisher/ReferenceData.h"
#include "ui_QXDocument.h"

using namespace orvane;
using namespace orvane::bench;

namespace {

void benchCompletions(const std::filesystem::path& folder) {
    const std::filesystem::path list = "../shared/market/stocklist.csv";
    if (!std::filesystem::exists(list)) {
        std::puts("completions: skipped (no ../shared/market/stocklist.csv)");
        return;
    }
    const auto stocks = server::readStockList(list, [](const std::string&) {});
    const std::filesystem::path file = folder / "code.txt";
    writeFileAtomically(file, *utf8ToUtf16(server::codeTableText(stocks)));
    const CodeTable table(file);
    std::printf("completions over %zu stocks (ms, median / max of 50):\n", stocks.size());
    for (const char* key : {"6000", "0000", "3007", "PF", "ZG", "银行", "中国", "平安银行"}) {
        std::vector<double> times;
        std::size_t found = 0;
        for (int i = 0; i < 50; ++i) {
            const auto start = Steady::now();
            found = app::completionStrings(table, key).size();
            times.push_back(msSince(start));
        }
        const Spread s = spreadOf(times);
        std::printf("  %-10s %4zu found  %.2f / %.2f\n", key, found, s.median, s.max);
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    auto seams = app::installQtSeams(application);

    test::ServedTree served;
    benchCompletions(served.folder());
    // A market of the size of the real one makes gain lists of the real length.
    const int stocks = argc > 1 ? std::atoi(argv[1]) : 300;
    const auto market = test::publishSyntheticMarket(served, stocks, *parseDate("2025-12-05"), 250);
    std::printf("a made-up market of %d stocks\n", stocks);
    if (market.empty()) return 1;
    MarketServers::install(std::make_shared<MarketServers>(served.url("/orvane"), served.url("/")));
    ensureDataDirectoryExists();
    for (std::size_t i = 0; i < 50; ++i)
        writeFileAtomically(ensureFolder(getHoldStockPath()) / (market[i].listing.code + ".txt"),
                            "");

    app::QXApplication app(seams.dispatcher);
    app.applicationWillFinishLaunching();
    // The archive arrives in the background; start-up is measured once it is in.
    QTest::qWait(1000);
    auto start = Steady::now();
    if (!app.openMainWindow()) return 1;
    app::QXDocument& doc = *app.document();
    bool answered = false;
    QTimer::singleShot(0, [&] { answered = true; });
    waitUntil([&] { return answered; });
    std::printf("start-up: connectivity check to window answering events %.1f ms\n",
                msSince(start));

    std::vector<double> fetches;
    QSignalSpy shown(&doc, &app::QXDocument::verdictShown);
    for (std::size_t i = 0; i < 40; ++i) {
        const int before = static_cast<int>(shown.count());
        start = Steady::now();
        doc.downloadOneStockData(market[i * 7 % market.size()].listing.code);
        waitUntil([&] { return shown.count() > before; });
        fetches.push_back(msSince(start));
        if (fetches.back() > 100)
            std::printf("  slow: %s %.0f ms\n", market[i * 7 % market.size()].listing.code.c_str(),
                        fetches.back());
    }
    const Spread f = spreadOf(fetches);
    std::printf("one-stock fetch to verdict shown: median %.1f ms, max %.1f ms (40 fetches)\n",
                f.median, f.max);

    // The window thread's longest gap between two 1 ms timer ticks while
    // the market report runs over and over on a worker.
    std::atomic<int> reports{0};
    std::jthread reporter([&](std::stop_token stop) {
        while (!stop.stop_requested() && reports < 10) {
            app::runMarketReportUnlessBusy(stop);
            ++reports;
        }
    });
    std::vector<double> gaps;
    auto last = Steady::now();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        gaps.push_back(msSince(last));
        last = Steady::now();
    });
    tick.start(1);
    waitUntil([&] { return reports >= 10; }, 120000);
    tick.stop();
    std::sort(gaps.begin(), gaps.end());
    std::printf(
        "event loop during %d market reports and the holdings worker: longest gap %.1f ms, "
        "99th percentile %.1f ms (%zu ticks)\n",
        reports.load(), gaps.back(), gaps[gaps.size() * 99 / 100], gaps.size());
    reporter.request_stop();
    reporter.join();

    // The largest sector screened on the window's worker, with the event
    // loop's longest gap meanwhile.
    const std::string largest = SectorGroups::shared().largestGroup();
    doc.ui().plantPopbtn->setCurrentText(QString::fromStdString(largest));
    doc.setAlertPresenter([](const QString&, const QString&) {});
    QSignalSpy reported(&doc, &app::QXDocument::sectorReportShown);
    gaps.clear();
    last = Steady::now();
    tick.start(1);
    start = Steady::now();
    doc.sectorsPanel().filterPlantAction();
    waitUntil([&] { return reported.count() == 1; }, 60000);
    const double screened = msSince(start);
    tick.stop();
    std::sort(gaps.begin(), gaps.end());
    std::printf(
        "sector %s (%d stocks) screened and reported: %.0f ms; longest event-loop gap "
        "%.1f ms\n",
        largest.c_str(), SectorGroups::shared().getPlantGroupNum(largest), screened,
        gaps.empty() ? 0.0 : gaps.back());
    app.applicationWillTerminate();
    MarketServers::install(nullptr);
    return 0;
}
