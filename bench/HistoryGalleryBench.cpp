// The single-stock history tab and the trend-up model gallery against the
// project's own data server over a made-up market:
//   - a stock's 132 past days (the tab's six months; the library fetches
//     at most 98 earlier days) fetched and analysed until the rows are shown;
//   - a gallery page already in the data directory shown.
// Run build/bin/history_gallery_bench from the source folder.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "BenchTiming.h"
#include "history/OneHisStockController.h"
#include "PublishedMarket.h"
#include "gallery/QXTrendMode.h"
#include "platform/QtSeams.h"
#include "orvane/market/MarketServers.h"

using namespace orvane;
using namespace orvane::bench;

namespace {

void printSpread(const char* what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::printf("%s: median %.2f ms, max %.2f ms (%zu runs)\n", what, v[v.size() / 2], v.back(),
                v.size());
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    auto seams = app::installQtSeams(application);

    test::ServedTree served;
    const auto market = test::publishSyntheticMarket(served, 30, *parseDate("2025-12-05"), 300, 98);
    if (market.empty()) return 1;
    MarketServers::install(std::make_shared<MarketServers>(served.url("/orvane"), served.url("/")));

    QLineEdit codeField;
    app::OneHisStockController tab(&codeField);
    tab.hisdataPopBtn()->setCurrentIndex(5);
    QSignalSpy changed(&tab, &app::OneHisStockController::oneHisStockListChanged);
    std::vector<double> history;
    std::size_t rows = 0;
    for (std::size_t i = 0; i < 10; ++i) {
        codeField.setText(QString::fromStdString(market[i].listing.code));
        const int before = static_cast<int>(changed.count());
        const auto start = Steady::now();
        tab.calOneStockHisInfo();
        if (!waitUntil([&] { return changed.count() > before; })) return 1;
        history.push_back(msSince(start));
        rows = tab.oneHisStockList().size();
    }
    std::printf("history tab, six months (%zu rows):\n", rows);
    printSpread("  fetched, analysed and shown", history);

    app::QXTrendMode gallery;
    QSignalSpy shown(&gallery, &app::QXTrendMode::pageShown);
    gallery.showTrendUpModeForWindow();
    if (!waitUntil([&] { return shown.count() == 1; })) return 1;
    gallery.nextButtonAction();  // page 2 fetched into the folder
    if (!waitUntil([&] { return shown.count() == 2; })) return 1;
    std::vector<double> cached;
    for (int i = 0; i < 50; ++i) {
        const auto start = Steady::now();
        if (i % 2 == 0)
            gallery.lastButtonAction();
        else
            gallery.nextButtonAction();
        QCoreApplication::processEvents();  // the picture painted
        cached.push_back(msSince(start));
    }
    std::printf("gallery (%d pages on the server):\n", gallery.allIndex());
    printSpread("  a cached page shown", cached);
    gallery.windowShouldClose();
    MarketServers::install(nullptr);
    return 0;
}
