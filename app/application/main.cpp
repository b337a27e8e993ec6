// orvane-app: the desktop application, or with --chart only the chart
// window over history files.

#include <unistd.h>
#include <QApplication>
#include <QFrame>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "alerts/NotificationPanelController.h"
#include "application/AppOptions.h"
#include "application/ChartScreenshot.h"
#include "application/QXApplication.h"
#include "gallery/QXTrendMode.h"
#include "mainwindow/QXDocument.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/market/CodeTable.h"
#include "platform/FreedesktopNotificationCenter.h"
#include "platform/QXProcessUIController.h"
#include "platform/QtSeams.h"
#include "platform/ServerPreferences.h"
#include "platform/ServerSettingsDialog.h"

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
void screenshotAndQuit(QApplication& application, app::QXApplication& delegate,
                       const std::string& path, bool waitForVerdict, int delayMs) {
    app::QXDocument& document = *delegate.document();
    auto shoot = [&application, &delegate, &document, path] {
        // The alert panel and the gallery, when shown, are in the picture too.
        QWidget* panel = delegate.notificationPanel().newMsgPanel();
        QWidget* gallery = delegate.gallery().TrendUpModeWnd();
        const bool saved = app::saveWindowsPicture({&document, panel, gallery}, path);
        std::fprintf(saved ? stdout : stderr, saved ? "%s\n" : "orvane-app: cannot write %s\n",
                     path.c_str());
        application.exit(saved ? 0 : 1);
    };
    if (waitForVerdict)
        QObject::connect(
            &document, &app::QXDocument::verdictShown, &application,
            [shoot, delayMs] { QTimer::singleShot(delayMs, shoot); }, Qt::SingleShotConnection);
    QTimer::singleShot(waitForVerdict ? 20000 : kScreenshotDelayMs, &application, shoot);
}

/// The first chart file that cannot be read, said on stderr; true when all can.
bool chartFilesReadable(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec) && ::access(file.c_str(), R_OK) == 0)
            continue;
        std::fprintf(stderr,
                     "orvane-app: cannot open the chart of %s: %s (a history text; orvane "
                     "csv2hist makes one from a daily CSV)\n",
                     file.c_str(),
                     !std::filesystem::exists(file, ec)        ? "no such file"
                     : std::filesystem::is_directory(file, ec) ? "it is a folder"
                                                               : "permission denied");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // The arguments are read before Qt starts, so that --help and mistakes
    // are answered without a display.
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto servers = app::takeServerOptions(args, error);
    const auto options = servers ? app::parseAppOptions(args, error) : std::nullopt;
    if (!options) {
        std::fprintf(stderr, "orvane-app: %s\n%s", error.c_str(), app::kAppUsage);
        return 2;
    }
    if (options->help) {
        std::printf("%s%s", app::kAppUsage, app::kAppHelp);
        return 0;
    }
    if (options->chartOnly() && !chartFilesReadable(options->chartFiles)) return 1;
    // Printing the address needs no window.
    if (options->printServer) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    application.setApplicationName("Orvane");
    application.setOrganizationName("Orvane");
    application.setDesktopFileName("orvane");
    auto seams = app::installQtSeams(application);

    const app::ServerPreferences preferences(*servers);
    if (options->printServer) {
        std::printf("%s\n", preferences.effective().dataServer.toStdString().c_str());
        return 0;
    }
    if (options->chartOnly()) return runChartWindow(application, *options);
    preferences.install();
    // Alerts go to the desktop's notification service when one answers.
    UserNotificationCenter::install(std::make_shared<app::FreedesktopNotificationCenter>());

    app::QXApplication delegate(seams.dispatcher);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &delegate,
                     &app::QXApplication::applicationWillTerminate);
    // A market the user imported is served by the application itself, unless
    // the command line or the environment names a server.
    if (!preferences.hasOverrides()) delegate.serveImportedMarket();
    delegate.applicationWillFinishLaunching();
    delegate.setServerSettingsOpener([&preferences, &delegate] {
        QWidget* parent = delegate.document();
        app::openServerSettings(preferences, parent);
    });
    if (!delegate.openMainWindow()) return 1;
    app::QXDocument& document = *delegate.document();
    seams.progressPanel->setParentWindow(&document);
    if (options->tab >= 0)
        QObject::connect(
            &document, &app::QXDocument::verdictShown, &document,
            [&document, tab = options->tab] { document.showTab(tab); }, Qt::SingleShotConnection);
    if (options->gallery) delegate.gallery().showTrendUpModeForWindow();
    if (!options->showCode.empty()) document.downloadOneStockData(options->showCode);
    if (!options->screenshotPath.empty())
        screenshotAndQuit(
            application, delegate, options->screenshotPath, !options->showCode.empty(),
            options->tab >= 0 || options->gallery ? 3 * kScreenshotDelayMs : kScreenshotDelayMs);
    const int status = application.exec();
    delegate.applicationWillTerminate();
    UserNotificationCenter::install(nullptr);
    return status;
}
