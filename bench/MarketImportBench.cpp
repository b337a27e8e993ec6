// An import of the real market from the menu's dialog: ../shared/market
// written as the desktop terminals' day files (tests/support's writer), then
// surveyed and imported with the dialog as a user does, with the longest time
// the window thread went without running its event loop (a 1 ms timer's
// longest gap) through the survey and the import.
// Run build/bin/market_import_bench [JOBS] from the source folder.

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "BenchTiming.h"
#include "MarketLayouts.h"
#include "marketimport/ImportedMarket.h"
#include "marketimport/MarketImportDialog.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "platform/QtMainThreadDispatcher.h"
#include "platform/QtSeams.h"
#include "ui_MarketImportDialog.h"

using namespace orvane;
using namespace orvane::bench;
namespace fs = std::filesystem;

namespace {

// The longest gap between two ticks of a timer that asks to run every
// millisecond: how long the window thread went without its event loop.
// The process's processor time so far, in the program and in the system,
// in seconds: on a shared machine the wall-clock time says more about the
// neighbours.
struct ProcessorTime {
    double user = 0, system = 0;
};
ProcessorTime processorTime() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}

class StallMeter : public QObject {
  public:
    StallMeter() {
        timer_.setInterval(1);
        connect(&timer_, &QTimer::timeout, this, [this] {
            longest_ = std::max(longest_, msSince(last_));
            last_ = Steady::now();
        });
    }
    void start() {
        longest_ = 0;
        last_ = Steady::now();
        timer_.start();
    }
    double stop() {
        timer_.stop();
        return std::max(longest_, msSince(last_));
    }

  private:
    QTimer timer_;
    Steady::time_point last_;
    double longest_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const fs::path market = "../shared/market";
    if (!fs::exists(market / "daily")) {
        std::puts("market import: skipped (no ../shared/market)");
        return 0;
    }
    QApplication application(argc, argv);
    auto seams = app::installQtSeams(application);
    QTemporaryDir folder;
    setenv("ORVANE_DATA_DIR", folder.filePath("data").toUtf8().constData(), 1);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.filePath("settings"));

    auto written = Steady::now();
    const fs::path dayFiles = folder.filePath("tdx").toStdString();
    test::writeDayFiles(market / "daily", market / "stocklist.csv", dayFiles);
    std::printf("real market written as day files: %.1f s\n", msSince(written) / 1000);

    app::ImportedMarket imported(fs::path(folder.filePath("data").toStdString()) /
                                 "ImportedMarket");
    app::MarketImportDialog dialog(imported);
    dialog.show();
    auto& ui = dialog.ui();
    StallMeter meter;

    QSignalSpy surveyed(&dialog, &app::MarketImportDialog::surveyShown);
    ui.sourceEdit->setText(QString::fromStdString(dayFiles.string()));
    ui.stockListEdit->setText(QString::fromStdString((dayFiles / "codes.csv").string()));
    const auto surveyStart = Steady::now();
    meter.start();
    dialog.surveySource();
    waitUntil([&] { return surveyed.count() == 1; }, 120000);
    const double surveyMs = msSince(surveyStart), surveyStall = meter.stop();
    std::printf("survey: %s, %s: %.2f s, longest stall %.1f ms\n",
                ui.layoutLabel->text().toStdString().c_str(),
                ui.stockCountLabel->text().section('\n', 0, 0).toStdString().c_str(),
                surveyMs / 1000, surveyStall);

    std::optional<app::ImportOutcome> outcome;
    QObject::connect(&imported, &app::ImportedMarket::importEnded, &imported,
                     [&](const app::ImportOutcome& o, bool) { outcome = o; });
    const ProcessorTime before = processorTime();
    const auto importStart = Steady::now();
    meter.start();
    ui.importButton->click();
    waitUntil([&] { return outcome.has_value(); }, 300000);
    const double importMs = msSince(importStart), importStall = meter.stop();
    if (!outcome || outcome->result != app::ImportOutcome::Result::Published) {
        std::printf("import failed: %s\n", outcome ? outcome->message.c_str() : "timed out");
        return 1;
    }
    const ProcessorTime after = processorTime();
    std::printf(
        "import: %zu stocks in %.2f s (read and publish %.2f s; processor time %.2f s in the "
        "program, %.2f s in the system), longest stall %.1f ms\n",
        outcome->stocks, importMs / 1000, outcome->seconds, after.user - before.user,
        after.system - before.system, importStall);
    imported.shutDown();
    seams.dispatcher->shutDown();
    return 0;
}
