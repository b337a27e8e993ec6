// Pictures of the main window in states only a user's clicks reach, for the
// screenshot script: a screened sector with its report and the sector
// markers, the self-check questionnaire's result, and the back-test window
// over the demo market (its summary with each plot, a group's signals, and
// the chart a signal's double-click opens, the 组合 tab).
//
//   app_screenshot_tour --server URL --quote-server URL OUTDIR
//
// Run under an X server (scripts/screenshot-app runs it under Xvfb).

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <cstdio>

#include "application/ChartScreenshot.h"
#include "application/QXApplication.h"
#include "backtest/BacktestPortfolioTab.h"
#include "backtest/BacktestWindow.h"
#include "mainwindow/QXDocument.h"
#include "orvane/chart/KWindow.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/market/SectorGroups.h"
#include "platform/QtSeams.h"
#include "platform/ServerPreferences.h"
#include "sectors/SectorsPanel.h"
#include "ui_BacktestWindow.h"
#include "ui_QXDocument.h"

using namespace orvane;

namespace {

bool save(QWidget& window, const std::string& out, const std::string& name) {
    QTest::qWait(500);
    const std::string path = out + "/" + name;
    std::printf("%s\n", path.c_str());
    return app::saveWindowPicture(window, path);
}

// The back-test window from the menu over the default market (the demo
// tree), run to its end.
bool backtestPictures(app::QXDocument& doc, const std::string& out) {
    doc.ui().actionBacktest->trigger();
    auto* window = doc.findChild<app::BacktestWindow*>();
    if (!window) return false;
    Ui::BacktestWindow& ui = window->ui();
    window->move(10, 10);
    QSignalSpy ended(window, &app::BacktestWindow::runEnded);
    ui.startButton->click();
    if (!ended.wait(600000) || !window->results()) return false;
    bool ok = save(*window, out, "screenshot-backtest-excess.png");
    ui.resultTabs->setCurrentWidget(ui.distributionTab);
    ok = save(*window, out, "screenshot-backtest-distribution.png") && ok;
    // The key-point breakthroughs, best 10-day return first.
    ui.summaryTable->selectRow(ui.summaryTable->model()->rowCount() - 1);
    ui.resultTabs->setCurrentWidget(ui.signalsTab);
    ui.signalsTable->sortByColumn(8, Qt::DescendingOrder);
    ok = save(*window, out, "screenshot-backtest-signals.png") && ok;
    // A signal near the middle of the list, opened as its double-click does.
    const int row = ui.signalsTable->model()->rowCount() / 2;
    ui.signalsTable->selectRow(row);
    if (!window->openSignalChart(row)) return false;
    chart::KWindow& charts = *doc.kWindowController()->kWindow();
    ok = save(charts, out, "screenshot-backtest-chart.png") && ok;
    // The portfolio of every signal, the chart window out of the way.
    charts.hide();
    window->raise();
    window->activateWindow();
    ui.groupingCombo->setCurrentText(QStringLiteral("全部信号"));
    ui.resultTabs->setCurrentWidget(&window->portfolioTab());
    ui.resultsSplitter->setSizes({70, 600});
    return save(*window, out, "screenshot-backtest-portfolio.png") && ok;
}

}  // namespace

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
    const std::string largest = SectorGroups::shared().largestGroup();
    ui.plantPopbtn->setCurrentText(QString::fromStdString(largest));
    QSignalSpy reported(&doc, &app::QXDocument::sectorReportShown);
    doc.sectorsPanel().filterPlantAction();
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
    ok = backtestPictures(doc, out) && ok;
    delegate.applicationWillTerminate();
    return ok ? 0 : 1;
}
