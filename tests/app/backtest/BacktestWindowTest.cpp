// The back-test window over the test program's made-up market: a run to its
// end fills the tables and plots and a signal's double-click opens its chart;
// a run stopped, or its window closed, while the market is being read ends
// cleanly and leaves the window usable. The reading is held at a named pipe
// among the histories until the test writes to it, so no step hangs on timing.

// Before Qt's headers, whose "signals" keyword the results' fields would meet.
#include "orvane/backtest/Backtest.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QChart>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <thread>

#include "ServedMarketTest.h"
#include "backtest/BacktestPortfolioTab.h"
#include "backtest/BacktestWindow.h"
#include "mainwindow/QXDocument.h"
#include "orvane/chart/KBaseView.h"
#include "orvane/chart/KWindowController.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "ui_BacktestWindow.h"
#include "ui_QXDocument.h"

using namespace orvane;
using namespace orvane::app;
namespace fs = std::filesystem;

namespace {

/// Enough history before a signal day for the 200-day made-up market.
constexpr int kMinimumHistory = 120;

class BacktestWindowTest : public test::ServedMarketTest {
  protected:
    void SetUp() override {
        ServedMarketTest::SetUp();
        window.setMinimumHistory(kMinimumHistory);
        window.show();
    }

    /// A copy of the served histories with a named pipe as the last stock.
    fs::path treeHeldAtPipe() {
        const fs::path folder = dir.path() / "held-tree" / "const/hisdata/stockdata";
        fs::create_directories(folder);
        fs::copy(served().tree() / "const/hisdata/stockdata", folder);
        pipe = folder / "688999.txt";
        EXPECT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        return dir.path() / "held-tree";
    }
    /// Lets the reading past the pipe, once it has reached it.
    static void releasePipe(const fs::path& pipe) {
        int fd = -1;
        auto opened = [&] {
            if (fd < 0) fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            return fd >= 0;
        };
        ASSERT_TRUE(test::waitUntil(opened));
        ::close(fd);
    }
    bool startOn(const fs::path& tree) {
        ui.treeFolderField->setText(QString::fromStdString(tree.string()));
        ui.startButton->click();
        return window.isRunning();
    }

    chart::KWindowController charts;
    BacktestWindow window{[this] { return &charts; }};
    Ui::BacktestWindow& ui = window.ui();
    fs::path pipe;
};

}  // namespace

TEST_F(BacktestWindowTest, ARunFillsTablesAndPlotsAndASignalOpensItsChart) {
    QSignalSpy ended(&window, &BacktestWindow::runEnded);
    ASSERT_TRUE(startOn(served().tree()));
    EXPECT_FALSE(ui.startButton->isEnabled());
    EXPECT_TRUE(ui.stopButton->isEnabled());
    ASSERT_TRUE(test::waitUntil([&] { return ended.count() == 1; }));
    ASSERT_NE(window.results(), nullptr);
    EXPECT_TRUE(ui.startButton->isEnabled());
    EXPECT_EQ(ui.progressBar->value(), ui.progressBar->maximum());
    EXPECT_EQ(ui.progressBar->maximum(), static_cast<int>(market().size()));
    EXPECT_TRUE(ui.phaseLabel->text().startsWith("完成"));

    // By trend at 10 days: a row a trend code, the first one's signals listed.
    EXPECT_EQ(ui.horizonCombo->currentText(), "10日");
    QAbstractItemModel& summary = *ui.summaryTable->model();
    EXPECT_GT(summary.rowCount(), 1);
    EXPECT_GT(ui.signalsTable->model()->rowCount(), 0);
    EXPECT_GT(window.excessChart().series().size(), 1);  // the market's line and the groups'
    ASSERT_EQ(window.distributionChart().series().size(), 1);
    // Every signal in one group: its count is the table's.
    ui.groupingCombo->setCurrentText("全部信号");
    ASSERT_EQ(summary.rowCount(), 1);
    const int all = ui.signalsTable->model()->rowCount();
    EXPECT_EQ(summary.data(summary.index(0, 2)).toString().remove(',').toInt(), all);

    // A double-click on a signal: its stock's chart, cut after the signal, at its day.
    ui.resultTabs->setCurrentWidget(ui.signalsTab);
    QTableView& table = *ui.signalsTable;
    const QModelIndex row = table.model()->index(all / 2, 1);
    table.scrollTo(row);
    const QString date = table.model()->index(row.row(), 0).data().toString();
    const QString code = row.data().toString();
    QSignalSpy opened(&window, &BacktestWindow::signalChartOpened);
    // A double-click as the window system gives it: a click, then a press
    // that is a double-click, then its release.
    const QPoint at = table.visualRect(row).center();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(table.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(table.viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(opened.count(), 1);
    ASSERT_EQ(charts.kLineViewList().size(), 1u);
    const chart::KChartModel& chart = charts.kLineViewList()[0]->model();
    ASSERT_GE(chart.focusDataIndex(), 0);
    EXPECT_EQ(chart.dataList()[std::size_t(chart.focusDataIndex())].date, date.toStdString());
    EXPECT_LT(chart.dataList().size(), 200u);
    EXPECT_EQ(opened.at(0).at(0).toString().toStdString(),
              (getLine_K_Path() / (code.toStdString() + ".txt")).string());

    // The same signal again: the stock's tab, reloaded, with the crosshair back on its day.
    charts.kLineViewList()[0]->model().setFocusDataIndex(0);
    ASSERT_TRUE(window.openSignalChart(row.row()));
    ASSERT_EQ(charts.kLineViewList().size(), 1u);
    ASSERT_GE(chart.focusDataIndex(), 0);
    EXPECT_EQ(chart.dataList()[std::size_t(chart.focusDataIndex())].date, date.toStdString());

    // The 组合 tab: the portfolio of every signal from a million, its two
    // curves and its trades; a trade's double-click opens its stock's chart.
    const BacktestPortfolioTab& portfolio = window.portfolioTab();
    ASSERT_GT(portfolio.tradeCount(), 0u);
    EXPECT_GT(portfolio.equityDays(), 10u);
    EXPECT_EQ(portfolio.startingValue(), 1'000'000);
    EXPECT_EQ(portfolio.equityChart().series().size(), 2);
    QTableWidget& trades = portfolio.tradesTable();
    ASSERT_EQ(trades.rowCount(), int(portfolio.tradeCount()));
    trades.cellDoubleClicked(0, 0);
    ASSERT_EQ(opened.count(), 3);
    EXPECT_EQ(opened.at(2).at(0).toString().toStdString(),
              (getLine_K_Path() / (trades.item(0, 0)->text().toStdString() + ".txt")).string());
}

TEST_F(BacktestWindowTest, StoppingOrClosingMidRunEndsItAndLeavesTheWindowUsable) {
    const fs::path held = treeHeldAtPipe();
    QSignalSpy ended(&window, &BacktestWindow::runEnded);
    ASSERT_TRUE(startOn(held));
    ui.stopButton->click();
    EXPECT_FALSE(ui.stopButton->isEnabled());
    releasePipe(pipe);
    ASSERT_TRUE(test::waitUntil([&] { return ended.count() == 1; }));
    EXPECT_TRUE(ui.phaseLabel->text().contains("已停止"));
    EXPECT_EQ(window.results(), nullptr);
    EXPECT_TRUE(ui.startButton->isEnabled());
    EXPECT_TRUE(ui.conditionsGroup->isEnabled());

    // Closed mid-run: the window waits for the run, which ends stopped.
    ASSERT_TRUE(startOn(held));
    std::thread release([pipe = pipe] {
        const int fd = ::open(pipe.c_str(), O_WRONLY);  // waits for the reader
        if (fd >= 0) ::close(fd);
    });
    window.close();
    release.join();
    ASSERT_TRUE(test::waitUntil([&] { return ended.count() == 2; }));
    EXPECT_TRUE(ui.phaseLabel->text().contains("已停止"));

    // The same window runs to the end afterwards.
    window.show();
    ASSERT_TRUE(startOn(served().tree()));
    ASSERT_TRUE(test::waitUntil([&] { return ended.count() == 3; }));
    EXPECT_NE(window.results(), nullptr);

    // Without a tree nothing starts, and the window says why.
    ui.treeFolderField->clear();
    EXPECT_FALSE(startOn({}));
    EXPECT_FALSE(ui.messageLabel->text().isEmpty());

    // The main window's menu item opens the back-test window.
    QXDocument doc;
    doc.ui().actionBacktest->trigger();
    auto* opened = doc.findChild<BacktestWindow*>();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
}

// The notes list what the reading of the market skipped (here the code
// table, which the copy lacks) and then everything the run found (here a
// stock cut to its newest ten days, too short for a verdict).
TEST_F(BacktestWindowTest, TheNotesListWhatTheReadingSkippedAndWhatTheRunFound) {
    const fs::path tree = dir.path() / "unnamed-tree";
    const fs::path histories = tree / "const/hisdata/stockdata";
    fs::create_directories(histories);
    fs::copy(served().tree() / "const/hisdata/stockdata", histories);
    const fs::path cut = fs::directory_iterator(histories)->path();
    std::string text = *readFile(cut);
    std::size_t end = 0;
    for (int line = 0; line < 11; ++line) end = text.find('\n', end) + 1;
    ASSERT_TRUE(writeFileAtomically(cut, text.substr(0, end)));
    QSignalSpy ended(&window, &BacktestWindow::runEnded);
    ASSERT_TRUE(startOn(tree));
    ASSERT_TRUE(test::waitUntil([&] { return ended.count() == 1; }));
    ASSERT_NE(window.results(), nullptr);
    const QString listed = ui.messageLabel->toolTip();
    EXPECT_TRUE(listed.contains("the names are unknown")) << listed.toStdString();
    const std::vector<std::string>& notes = window.results()->notes;
    EXPECT_EQ(notes.size(), 2u);
    for (const std::string& note : notes)
        EXPECT_TRUE(listed.contains(QString::fromStdString(note))) << note;
}
