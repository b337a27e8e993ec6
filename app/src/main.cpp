// orvane-app: the desktop application, or with --chart only the chart
// window over history files.

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "AppOptions.h"
#include "ChartScreenshot.h"
#include "QXApplication.h"
#include "QXDocument.h"
#include "QtMainThreadDispatcher.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/MarketServers.h"

using namespace orvane;

namespace {

/// Long enough for a window to be mapped and painted on a real display.
constexpr int kScreenshotDelayMs = 1000;

int runChartWindow(QApplication& application, const app::AppOptions& options) {
    // Tab and window titles name the stock from the data directory's code table.
    chart::KWindowController controller([](const std::string& code) {
        return CodeTable::shared().getStockCodeName(code).value_or(std::string());
    });
    // The chart window is the only window: hiding it ends the program.
    QObject::connect(&controller, &chart::KWindowController::kWindowClosed, &application,
                     &QApplication::quit);
    for (const std::string& file : options.chartFiles) controller.addNewKLineView(file);

    if (!options.crosshairDate.empty())
        QTimer::singleShot(200, &controller,
                           [&] { app::placeCrosshairOnDate(controller, options.crosshairDate); });
    if (!options.screenshotPath.empty()) {
        QTimer::singleShot(kScreenshotDelayMs, &controller, [&] {
            const bool saved = app::saveWindowPicture(controller, options.screenshotPath);
            if (!saved)
                std::fprintf(stderr, "orvane-app: cannot write %s\n",
                             options.screenshotPath.c_str());
            application.exit(saved ? 0 : 1);
        });
    }
    return application.exec();
}

/// Saves the main window's picture once the verdict is shown (or after a
/// while without one) and quits.
void screenshotAndQuit(QApplication& application, app::QXDocument& document,
                       const std::string& path, bool waitForVerdict) {
    auto shoot = [&application, &document, path] {
        const bool saved = app::saveWindowPicture(document, path);
        std::fprintf(saved ? stdout : stderr, saved ? "%s\n" : "orvane-app: cannot write %s\n",
                     path.c_str());
        application.exit(saved ? 0 : 1);
    };
    if (waitForVerdict)
        QObject::connect(&document, &app::QXDocument::verdictShown, &application,
                         [shoot] { QTimer::singleShot(kScreenshotDelayMs, shoot); });
    QTimer::singleShot(waitForVerdict ? 20000 : kScreenshotDelayMs, &application, shoot);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("Orvane");
    application.setOrganizationName("Orvane");
    application.setDesktopFileName("orvane");

    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = app::parseAppOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "orvane-app: %s\n%s", error.c_str(), app::kAppUsage);
        return 2;
    }
    if (options->chartOnly()) return runChartWindow(application, *options);

    auto dispatcher = std::make_shared<app::QtMainThreadDispatcher>(&application);
    MainThreadDispatcher::install(dispatcher);
    if (!options->server.empty() || !options->quoteServer.empty()) {
        const MarketServers defaults;
        MarketServers::install(std::make_shared<MarketServers>(
            options->server.empty() ? defaults.dataServer : options->server,
            options->quoteServer.empty() ? defaults.quoteServer : options->quoteServer));
    }

    app::QXApplication delegate(dispatcher);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &delegate,
                     &app::QXApplication::applicationWillTerminate);
    delegate.applicationWillFinishLaunching();
    if (!delegate.openMainWindow()) return 1;
    app::QXDocument& document = *delegate.document();
    if (!options->showCode.empty()) document.downloadOneStockData(options->showCode);
    if (!options->screenshotPath.empty())
        screenshotAndQuit(application, document, options->screenshotPath,
                          !options->showCode.empty());
    const int status = application.exec();
    delegate.applicationWillTerminate();
    MainThreadDispatcher::install(nullptr);
    return status;
}
