// A net value series summed up: returns, risk, drawdown and the trades.

#include <cmath>

#include "orvane/backtest/Portfolio.h"

namespace orvane::backtest {

PortfolioFigures portfolioFigures(const std::vector<double>& net,
                                  const std::vector<std::uint32_t>& days,
                                  const std::vector<Trade>& trades, double riskFree) {
    PortfolioFigures f;
    if (net.size() < 2 || !(net.front() > 0)) return f;
    const double periods = static_cast<double>(net.size() - 1);
    const double year = kTradingDaysAYear;
    f.totalReturn = net.back() / net.front() - 1;
    f.annualReturn = std::pow(net.back() / net.front(), year / periods) - 1;

    double sum = 0, squares = 0;
    for (std::size_t i = 1; i < net.size(); ++i) sum += net[i] / net[i - 1] - 1;
    const double mean = sum / periods;
    for (std::size_t i = 1; i < net.size(); ++i)
        squares += std::pow(net[i] / net[i - 1] - 1 - mean, 2);
    const double deviation = net.size() > 2 ? std::sqrt(squares / (periods - 1)) : 0;
    f.volatility = deviation * std::sqrt(year);
    f.sharpe = deviation > 0 ? (mean - riskFree / year) / deviation * std::sqrt(year) : kNoFigure;

    double peak = net.front(), deepest = 0;
    std::size_t peakAt = 0;
    f.peakDay = f.troughDay = days.front();
    for (std::size_t i = 0; i < net.size(); ++i) {
        if (net[i] > peak) peak = net[i], peakAt = i;
        if (1 - net[i] / peak > deepest) {
            deepest = 1 - net[i] / peak;
            f.peakDay = days[peakAt];
            f.troughDay = days[i];
        }
    }
    f.maxDrawdown = deepest;
    f.calmar = deepest > 0 ? f.annualReturn / deepest : kNoFigure;

    if (trades.empty()) return f;
    std::size_t closed = 0, won = 0;
    double held = 0, traded = 0;
    for (const Trade& t : trades) {
        traded += t.shares * t.entryPrice;
        if (t.reason == ExitReason::OpenAtEnd) continue;
        traded += t.shares * t.exitPrice;
        ++closed;
        won += t.ret > 0;
        held += t.exitDay - t.entryDay;
    }
    if (closed) {
        f.winRate = static_cast<double>(won) / static_cast<double>(closed);
        f.meanHoldingDays = held / static_cast<double>(closed);
    }
    double meanNet = 0;
    for (double v : net) meanNet += v;
    meanNet /= static_cast<double>(net.size());
    f.turnover = traded / 2 / meanNet * year / periods;
    return f;
}

}  // namespace orvane::backtest
