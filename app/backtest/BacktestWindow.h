#pragma once
// The back-test window (menu 分析 → 历史回测…): what the program's verdicts
// were followed by in the past, over a published tree (the demo market by
// default) or a folder of daily CSV files. The market is read and the
// back-test run on a thread of its own (BacktestJob), with its progress and
// a stop button; closing the window or quitting stops the run and waits for
// it. The results: a summary a group (trend, model B, score band, month,
// all) at a chosen horizon, the groups' cumulative excess return over time,
// the spread of the returns per trend code, the signals of the chosen
// group, whose double-click opens the stock's day chart at the signal's day,
// and the portfolio that bought them (组合), whose trades open it likewise.
//
// The back-test's results have fields named "signals", which Qt's keyword of
// that name would break: this header leaves them out, so that code using the
// keyword may include it, and the window's sources are built without it.

#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "backtest/BacktestMarket.h"

class QChart;
class QLineEdit;
class QTimer;

namespace Ui {
class BacktestWindow;
}

namespace orvane::chart {
class KWindowController;
}

namespace orvane::backtest {
struct Results;
}

namespace orvane::app {

class BacktestJob;
class BacktestPortfolioTab;
class BacktestSignalModel;
class BacktestSummaryModel;
struct BacktestOutcome;

class BacktestWindow : public QWidget {
    Q_OBJECT
  public:
    /// The program's chart window, or nothing when there is none yet.
    using ChartWindow = std::function<chart::KWindowController*()>;

    explicit BacktestWindow(ChartWindow charts, QWidget* parent = nullptr);
    ~BacktestWindow() override;

    /// Opens the owner's back-test window in front, made on first use.
    static BacktestWindow& showFor(QWidget& owner, ChartWindow charts);

    /// The folder of the demo market the embedded server serves
    /// ($XDG_CACHE_HOME/Orvane/demo-tree, else ~/.cache/Orvane/demo-tree).
    static std::filesystem::path demoTree();

    /// The days of history a signal day needs before it: the engine's longest
    /// window, lowered only for made-up markets shorter than it.
    void setMinimumHistory(int days) { minimumHistory_ = days; }

    Ui::BacktestWindow& ui() { return *ui_; }
    bool isRunning() const { return running_; }
    /// The last complete run's results, or nothing.
    const backtest::Results* results() const { return results_.get(); }
    QChart& excessChart() const;
    QChart& distributionChart() const;

    /// Starts a run as the start button does (false: the controls say why not).
    bool start();
    /// Stops a run as the stop button does; it ends on its own thread.
    void stop();
    /// Stops a run and waits for it (closing, quitting).
    void stopAndWait();
    /// Opens the chart of the signal shown in a row of the signals table.
    bool openSignalChart(int row);
    BacktestPortfolioTab& portfolioTab() const { return *portfolio_; }

  Q_SIGNALS:
    /// A run ended: complete, stopped or failed.
    void runEnded();
    /// A signal's chart was opened from its history file.
    void signalChartOpened(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    /// A new palette (the light or dark look): the plots follow it.
    void changeEvent(QEvent* event) override;

  private:
    void setUpControls();
    void chooseFolder(QLineEdit* field, const QString& title);
    /// The market the controls give, or why they give none.
    bool chooseMarket(BacktestMarket& market, QString& why) const;
    void showProgress();
    void finish(std::shared_ptr<BacktestOutcome> outcome);
    void setRunning(bool running);
    /// The summary, plots and signals for the chosen grouping and horizon.
    void showResults();
    void showGroupSignals(int summaryRow);
    std::size_t chosenHorizon() const;
    /// Opens a stock's chart with its history up to `lastDay`, the crosshair
    /// on `day` (calendar days of the results).
    bool openChartAt(std::uint32_t stock, std::uint32_t day, std::size_t lastDay);

    std::unique_ptr<Ui::BacktestWindow> ui_;
    ChartWindow charts_;
    BacktestSummaryModel* summary_;
    BacktestSignalModel* signals_;
    BacktestPortfolioTab* portfolio_;
    QTimer* progressTimer_;
    std::unique_ptr<BacktestJob> job_;
    BacktestMarket pendingMarket_;  // the market of the run going on
    BacktestMarket runMarket_;      // the market of the results shown
    std::shared_ptr<const backtest::Results> results_;
    int minimumHistory_ = 0;  // 0: the engine's need
    bool running_ = false;
};

}  // namespace orvane::app
