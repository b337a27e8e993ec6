// orvane-app: the desktop application. Until the main window exists it opens
// the chart window with one tab per history file given after --chart.

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "AppOptions.h"
#include "ChartScreenshot.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/market/CodeTable.h"

using namespace orvane;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("Orvane");

    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = app::parseAppOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "orvane-app: %s\n%s", error.c_str(), app::kAppUsage);
        return 2;
    }

    // Tab and window titles name the stock from the data directory's code table.
    chart::KWindowController controller([](const std::string& code) {
        return CodeTable::shared().getStockCodeName(code).value_or(std::string());
    });
    // The chart window is the only window for now: hiding it ends the program.
    QObject::connect(&controller, &chart::KWindowController::kWindowClosed, &application,
                     &QApplication::quit);
    for (const std::string& file : options->chartFiles) controller.addNewKLineView(file);

    if (!options->crosshairDate.empty())
        QTimer::singleShot(200, &controller,
                           [&] { app::placeCrosshairOnDate(controller, options->crosshairDate); });
    if (!options->screenshotPath.empty()) {
        // Long enough for the window to be mapped and painted on a real display.
        QTimer::singleShot(1000, &controller, [&] {
            const bool saved = app::saveWindowPicture(controller, options->screenshotPath);
            if (!saved)
                std::fprintf(stderr, "orvane-app: cannot write %s\n",
                             options->screenshotPath.c_str());
            application.exit(saved ? 0 : 1);
        });
    }
    return application.exec();
}
