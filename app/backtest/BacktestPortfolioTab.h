#pragma once
// The back-test window's 组合 tab: the portfolio that bought the chosen
// group's signals (Portfolio.h): its net value against the equal-weighted
// market's, the drawdown under it, the figures beside the market's, and the
// trades, whose double-click asks for the stock's chart at the trade.
// Like BacktestWindow.h, this header leaves the results out (their fields
// named "signals" would meet Qt's keyword).

#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QChart;
class QLabel;
class QTableWidget;

namespace orvane::backtest {
struct Results;
struct PortfolioRun;
enum class Grouping : std::uint8_t;
}  // namespace orvane::backtest

namespace orvane::app {

class BacktestPortfolioTab : public QWidget {
  public:
    /// Asked to show a stock's chart from `entryDay` to `exitDay` (calendar days).
    using TradeChart =
        std::function<void(std::uint32_t stock, std::uint32_t entryDay, std::uint32_t exitDay)>;

    BacktestPortfolioTab(TradeChart openChart, QWidget* parent = nullptr);
    ~BacktestPortfolioTab() override;

    /// The portfolio of a group's signals (`grouping` and `key` as in the
    /// summaries), held `hold` trading days; nothing shown without results.
    void show(std::shared_ptr<const backtest::Results> results, backtest::Grouping grouping,
              const std::string& key, int hold);

    const backtest::PortfolioRun& run() const { return *run_; }
    /// The days of the equity curve, and its first net value.
    std::size_t equityDays() const;
    double startingValue() const;
    std::size_t tradeCount() const;
    QChart& equityChart() const;
    QTableWidget& tradesTable() const { return *trades_; }

  protected:
    /// A new palette (the light or dark look): the curves' charts follow it.
    void changeEvent(QEvent* event) override;

  private:
    void showTrades();

    TradeChart openChart_;
    QLabel* caption_;
    QLabel* figures_;
    QLabel* counts_;  // the signals not bought, the sales that waited
    QChart* equity_;
    QChart* drawdown_;
    QTableWidget* trades_;
    std::shared_ptr<const backtest::Results> results_;
    std::unique_ptr<backtest::PortfolioRun> run_;
};

}  // namespace orvane::app
