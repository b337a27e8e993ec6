// Pictures of the main window in states only a user's clicks reach, for the
// screenshot script: a screened sector with its report and the sector
// markers, and the self-check questionnaire's result.
//
//   app_screenshot_tour --server URL --quote-server URL OUTDIR
//
// Run under an X server (scripts/screenshot-app runs it under Xvfb).

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>

#include "ChartScreenshot.h"
#include "QXApplication.h"
#include "QXDocument.h"
#include "QtSeams.h"
#include "ServerPreferences.h"
#include "orvane/market/SectorGroups.h"
#include "ui_QXDocument.h"

using namespace orvane;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    auto seams = app::installQtSeams(application);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto servers = app::takeServerOptions(args, error);
    if (!servers || args.size() != 1) {
        std::fprintf(stderr, "usage: app_screenshot_tour --server URL --quote-server URL OUTDIR\n");
        return 2;
    }
    const std::string out = args[0];
    app::ServerPreferences(*servers).install();
    app::QXApplication delegate(seams.dispatcher);
    delegate.applicationWillFinishLaunching();
    if (!delegate.openMainWindow()) return 1;
    app::QXDocument& doc = *delegate.document();
    Ui::QXDocument& ui = doc.ui();
    QTest::qWait(3000);  // the reference data and the market report with its markers

    // The largest sector, screened.
    std::string largest;
    int largestSize = -1;
    for (const std::string& group : SectorGroups::shared().getPlateGroupNameArray())
        if (const int size = SectorGroups::shared().getPlantGroupNum(group); size > largestSize) {
            largest = group;
            largestSize = size;
        }
    ui.plantPopbtn->setCurrentText(QString::fromStdString(largest));
    QSignalSpy reported(&doc, &app::QXDocument::sectorReportShown);
    doc.filterPlantAction();
    if (!reported.wait(60000)) return 1;
    QTest::qWait(1000);
    bool ok = app::saveWindowPicture(doc, out + "/screenshot-sector-report.png");

    // The questionnaire: yes to the first five questions, no to the last two.
    doc.showTab(3);
    ui.startButton->click();
    for (int i = 1; i <= 7; ++i) {
        (i <= 5 ? ui.answerYes : ui.answerNo)->click();
        if (i < 7) ui.nextBtn->click();
    }
    QTest::qWait(500);
    ok = app::saveWindowPicture(doc, out + "/screenshot-questionnaire.png") && ok;
    std::printf("%s/screenshot-sector-report.png (%s)\n%s/screenshot-questionnaire.png\n",
                out.c_str(), largest.c_str(), out.c_str());
    delegate.applicationWillTerminate();
    return ok ? 0 : 1;
}
