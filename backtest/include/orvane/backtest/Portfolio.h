#pragma once
// The portfolio: what money would have done following the verdicts of one
// group, with slots, lots, costs and the exit rules, day by day.
//
// The rules (the command line's --help says the same):
// - Each day, at the open, it buys the previous day's candidate signals,
//   best score first: one slot each, a slot being the net value at that
//   open divided by the slots, in lots of 100 shares, costs paid from the
//   cash. A signal finds no purchase when every slot is taken (no slot),
//   when its stock is held already, does not trade that day or opens at the
//   limit up (not buyable), or when the cash buys no lot (no cash); each is
//   counted.
// - A position is sold at the close of the hold's last day: `hold` trading
//   days after the signal day, as a horizon, and never before the close of
//   the day after the purchase (T+1). A stop-loss or take-profit is checked
//   on each close, the entry day's too, and sold at the next open.
// - A sale that cannot be made (the stock does not trade, or the price is
//   at the limit down) waits for the next open or close at which it can;
//   such sales are counted.
// - The equity is valued at each close (a stock without a trade at its last
//   close); positions still held on the last day are valued there, listed
//   as open and left out of the win rate and the holding days.
// - Figures use 242 trading days a year; the market is the equal-weighted
//   market (the back-test's baseline) from the same capital.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/backtest/Backtest.h"

namespace orvane::backtest {

inline constexpr int kTradingDaysAYear = 242;
inline constexpr int kSharesALot = 100;

struct PortfolioOptions {
    double capital = 1'000'000;  // yuan
    int slots = 10;
    int hold = 10;          // trading days after the signal day
    double stopLoss = 0;    // a fall of this fraction from the entry sells (0: none)
    double takeProfit = 0;  // a rise of this fraction sells (0: none)
    double riskFree = 0;    // the yearly risk-free rate, for the Sharpe ratio
};

/// What is wrong with the options, or nothing.
std::optional<std::string> checkPortfolioOptions(const PortfolioOptions& options);

// ---------------------------------------------------------------------------
// The signals it buys

using SignalFilter = std::function<bool(const Signal&)>;

/// Each day's candidate signals, best score first (equal scores in stock
/// order): one list a day of the results' range (baseline order), indexes
/// into Results::signals. Any filter makes a group: a trend code, a rule.
std::vector<std::vector<std::uint32_t>> candidatesByDay(const Results& results,
                                                        const SignalFilter& inGroup);

/// The group a text names: "all", or GROUPING:KEY with the groupings and
/// keys of summary.csv ("trend:1001", "model_b:yes", "score_band:>=91",
/// "month:2024-03"); nothing when it names no grouping.
std::optional<SignalFilter> groupFilter(const Results& results, std::string_view text);

// ---------------------------------------------------------------------------
// The run

enum class ExitReason : std::uint8_t { Hold, StopLoss, TakeProfit, OpenAtEnd };

/// "hold", "stop-loss", "take-profit", "open".
const char* exitReasonName(ExitReason reason);

struct Trade {
    std::uint32_t stock = 0;                                 // index into Results::stocks
    std::uint32_t signalDay = 0, entryDay = 0, exitDay = 0;  // calendar days
    double entryPrice = 0, exitPrice = 0;
    long shares = 0;
    double buyCost = 0, sellCost = 0;
    double ret = 0;  // what the sale brought after its costs over what the purchase took, less 1
    ExitReason reason = ExitReason::Hold;
    bool delayed = false;  // the sale waited for a day it could be made
};

struct EquityDay {
    std::uint32_t day = 0;
    double cash = 0, holdings = 0, net = 0;
    double market = 0;  // the equal-weighted market's net value from the same capital
};

/// A run's figures; kNoFigure where there is none (the market has no trades).
struct PortfolioFigures {
    double totalReturn = kNoFigure, annualReturn = kNoFigure, volatility = kNoFigure;
    double sharpe = kNoFigure, maxDrawdown = kNoFigure, calmar = kNoFigure;
    std::uint32_t peakDay = 0, troughDay = 0;  // of the largest drawdown
    double winRate = kNoFigure, meanHoldingDays = kNoFigure;
    double turnover = kNoFigure;  // bought and sold over two, over the mean net value, a year
};

struct PortfolioRun {
    std::vector<EquityDay> equity;  // one a day of the range
    std::vector<Trade> trades;      // by entry day
    PortfolioFigures figures, market;
    std::size_t bought = 0, notBuyable = 0, noSlot = 0, noCash = 0, delayedSales = 0;
};

/// The portfolio over the results' range. The results must carry their
/// prices (runBacktest keeps them).
PortfolioRun runPortfolio(const Results& results,
                          const std::vector<std::vector<std::uint32_t>>& candidates,
                          const PortfolioOptions& options);

/// The figures of a net value series (one a day, the first the capital) and
/// the trades that made it (none: no trade figures).
PortfolioFigures portfolioFigures(const std::vector<double>& net,
                                  const std::vector<std::uint32_t>& days,
                                  const std::vector<Trade>& trades, double riskFree);

}  // namespace orvane::backtest
