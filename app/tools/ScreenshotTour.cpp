// Pictures of the main window in states only a user's clicks reach, for the
// screenshot script: a screened sector with its report and the sector
// markers, the self-check questionnaire's result, and the back-test window
// over the demo market (its summary with each plot, a group's signals, the
// group of a user's rule, the chart a signal's double-click opens, the 组合
// tab); the rule dialog with a fault marked, the screen by a rule, and the
// alert panel a rule marked 提醒 slides in at launch; and the live day
// (当日行情 and 五档 of a stock, its 分时 tab, a price alert raised).
//
//   app_screenshot_tour --server URL --quote-server URL [--live-day-only] OUTDIR
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
#include <algorithm>
#include <cstdio>

#include "alerts/ModelBAlerts.h"
#include "alerts/NotificationPanelController.h"
#include "application/ChartScreenshot.h"
#include "application/QXApplication.h"
#include "backtest/BacktestPortfolioTab.h"
#include "backtest/BacktestWindow.h"
#include "liveday/LiveDay.h"
#include "liveday/PriceAlerts.h"
#include "liveday/PriceAlertsWindow.h"
#include "mainwindow/QXDocument.h"
#include "orvane/chart/IntradayView.h"
#include "orvane/chart/KWindow.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockRuleBook.h"
#include "platform/QtSeams.h"
#include "platform/ServerPreferences.h"
#include "rules/RuleScreenModel.h"
#include "rules/RuleScreenWindow.h"
#include "rules/StockRuleDialog.h"
#include "sectors/SectorsPanel.h"
#include "ui_BacktestWindow.h"
#include "ui_QXDocument.h"
#include "ui_RuleScreenWindow.h"
#include "ui_StockRuleDialog.h"

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
    ui.ruleCombo->setCurrentText(QStringLiteral("上涨放量"));
    ui.startButton->click();
    if (!ended.wait(600000) || !window->results()) return false;
    bool ok = save(*window, out, "screenshot-backtest-excess.png");
    ui.groupingCombo->setCurrentIndex(ui.groupingCombo->findText(QStringLiteral("按规则")));
    ok = save(*window, out, "screenshot-backtest-rule.png") && ok;
    ui.groupingCombo->setCurrentIndex(0);
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

// The rules written before the launch: the alert panel the launch's check
// slid in, the rule dialog with a fault marked, and the screen by a rule.
void writeRules() {
    ensureDataDirectoryExists();
    writeRuleBook({{"上涨放量", "trend in (1, 1000, 1001) and change >= 2 and not st", false},
                   {"突破", "trend = 1001 and score >= 100 and not limitup", true},
                   {"创业板强势", "board = chinext and gain5 > 5", false}});
}

bool rulePictures(app::QXDocument& doc, const std::string& out) {
    app::NotificationPanelController& panel = doc.alerts().panel();
    bool ok = panel.newMsgPanel()->isVisible() &&
              save(*panel.newMsgPanel(), out, "screenshot-rule-alert.png");
    panel.closeNotificationWindow();

    app::StockRuleDialog& dialog = app::StockRuleDialog::showFor(doc);
    dialog.move(40, 40);
    dialog.selectRule(QStringLiteral("突破"));
    dialog.ui().ruleTextEdit->setPlainText(
        QStringLiteral("trend = 1001 and score >= 100 and gian5 < 20 and not limitup"));
    ok = save(dialog, out, "screenshot-rule-dialog.png") && ok;
    dialog.ui().ruleTextEdit->setPlainText(
        QStringLiteral("trend = 1001 and score >= 100 and not limitup"));
    dialog.close();

    app::RuleScreenWindow& screen = doc.openRuleScreen();
    screen.move(30, 30);
    screen.ui().ruleCombo->setCurrentText(QStringLiteral("上涨放量"));
    QSignalSpy screened(&screen, &app::RuleScreenWindow::screened);
    screen.screen();
    if (!screened.wait(60000)) return false;
    ok = save(screen, out, "screenshot-rule-screen.png") && ok;
    screen.close();
    return ok;
}

// A stock with its live quote and five levels, its 分时 tab, and a price
// alert that its quote meets at once (the panel slides in: Xvfb has no
// notification service).
bool liveDayPictures(app::QXDocument& doc, const std::string& out) {
    doc.downloadOneStockData("600000");
    QSignalSpy quoted(&doc.liveDay(), &app::LiveDay::quotesUpdated);
    for (int round = 0; round < 3; ++round) quoted.wait(15000);
    bool ok = save(doc, out, "screenshot-live-quote-and-levels.png");
    doc.openIntraday("600000");
    chart::KWindow& charts = *doc.kWindowController()->kWindow();
    charts.resize(900, 520);
    quoted.wait(15000);
    // The crosshair on 10:30.
    if (auto* view = doc.kWindowController()->intradayViewOf("600000")) view->setFocusMinute(60);
    ok = save(charts, out, "screenshot-intraday.png") && ok;
    doc.raise();
    doc.activateWindow();
    doc.priceAlerts().add({"600000", app::PriceAlertKind::PriceAtLeast, 0.01});
    QSignalSpy raised(&doc.priceAlerts(), &app::PriceAlerts::alertRaised);
    raised.wait(15000);
    QTest::qWait(1500);  // the panel's slide
    const std::string path = out + "/screenshot-price-alert.png";
    std::printf("%s\n", path.c_str());
    QWidget* panel = doc.alerts().panel().newMsgPanel();
    ok = app::saveWindowsPicture({&doc, panel}, path) && raised.count() > 0 && ok;
    // The list of alerts, editable.
    doc.priceAlerts().add({"600006", app::PriceAlertKind::ChangeAtMost, -3});
    app::PriceAlertsWindow list(doc.priceAlerts(), app::codeTableName, &doc);
    list.show();
    return save(list, out, "screenshot-price-alert-list.png") && ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    auto seams = app::installQtSeams(application);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto servers = app::takeServerOptions(args, error);
    const auto liveDayOnly = std::find(args.begin(), args.end(), "--live-day-only");
    const bool onlyLiveDay = liveDayOnly != args.end();
    if (onlyLiveDay) args.erase(liveDayOnly);
    if (!servers || args.size() != 1) {
        std::fprintf(stderr,
                     "usage: app_screenshot_tour --server URL --quote-server URL "
                     "[--live-day-only] OUTDIR\n");
        return 2;
    }
    const std::string out = args[0];
    app::ServerPreferences(*servers).install();
    writeRules();
    app::QXApplication delegate(seams.dispatcher);
    delegate.applicationWillFinishLaunching();
    if (!delegate.openMainWindow()) return 1;
    app::QXDocument& doc = *delegate.document();
    Ui::QXDocument& ui = doc.ui();
    QTest::qWait(3000);  // the reference data and the market report with its markers
    if (onlyLiveDay) {
        const bool live = liveDayPictures(doc, out);
        delegate.applicationWillTerminate();
        return live ? 0 : 1;
    }

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
    ok = rulePictures(doc, out) && ok;
    ok = backtestPictures(doc, out) && ok;
    ok = liveDayPictures(doc, out) && ok;
    delegate.applicationWillTerminate();
    return ok ? 0 : 1;
}
