// The portfolio on a hand-made market with chosen signals: cash, lots,
// costs, slots, a sale held up by the limit down, a stop-loss on the entry
// day, the skipped signals and the figures, worked out by hand.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "orvane/backtest/Portfolio.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/CsvHistory.h"

using namespace orvane;
using namespace orvane::backtest;

namespace {

// Day d is 2024-03-01 plus d days; (open, close) a day, the low the lower.
MarketStock stock(std::string code, const std::vector<std::pair<double, double>>& days) {
    using namespace std::chrono;
    std::vector<DailyBar> bars;
    for (std::size_t d = 0; d < days.size(); ++d) {
        const year_month_day ymd{sys_days{2024y / March / 1} + std::chrono::days{d}};
        const auto [open, close] = days[d];
        bars.push_back(
            {format("%04d-%02u-%02u", int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day())),
             open, std::max(open, close), std::min(open, close), close, 1000});
    }
    return {std::move(code), "", historyTextOf(bars)};
}

std::vector<std::pair<double, double>> flat(double price, std::size_t days = 6) {
    return std::vector<std::pair<double, double>>(days, {price, price});
}

}  // namespace

TEST(Portfolio, CashLotsCostsSlotsAndExitsWorkedOutByHand) {
    auto a = flat(10), b = flat(20), d = flat(10), e = flat(10);
    a[3] = a[4] = a[5] = {10.5, 10.5};
    b[3] = {20, 18};  // the limit down: the hold's sale waits for day 4's open
    b[4] = b[5] = {18.5, 18.5};
    d[4] = {10, 8.9};    // -11% on the entry day: the stop
    d[5] = {8.01, 8.5};  // opens at the limit down: sold at the close
    e[4] = {11, 11};     // opens at the limit up: not bought
    Options options;
    options.horizons = {1};
    options.minHistory = 1;
    backtest::Run backtest =
        runBacktest({{stock("600001", a), stock("600002", b), stock("600003", flat(5)),
                      stock("600004", d), stock("600005", e), stock("600006", flat(1000))},
                     {}},
                    options);
    ASSERT_EQ(backtest.failure, Failure::None) << backtest.message;
    Results& r = backtest.results;
    // The signals: stock, day, score.
    r.signals.clear();
    for (auto [stock, day, score] :
         {std::tuple{2, 1, 80}, {0, 1, 100}, {1, 1, 90}, {3, 3, 50}, {4, 3, 60}, {5, 3, 40}}) {
        Signal s;
        s.stock = std::uint32_t(stock), s.day = std::uint32_t(day), s.score = score;
        r.signals.push_back(s);
    }
    const auto candidates = candidatesByDay(r, [](const Signal&) { return true; });
    ASSERT_EQ(candidates.size(), 5u);  // days 1 to 5
    EXPECT_EQ(candidates[0], (std::vector<std::uint32_t>{1, 2, 0}));

    PortfolioOptions o;
    o.capital = 100'000;
    o.slots = 2;
    o.hold = 2;
    o.stopLoss = 0.10;
    const PortfolioRun run = runPortfolio(r, candidates, o);

    // Day 2's open: A 5,000 shares at 10 (a slot of 50,000; costs 12.5 +
    // 0.5), B 2,400 at 20 (the 49,987 left buy 24 lots; costs 12 + 0.48);
    // C finds no slot. Day 3's close sells A at 10.5 (costs 13.125 + 0.525 +
    // 26.25); B at the limit down waits for day 4's open, 18.5 (costs 11.1 +
    // 0.444 + 22.2). Day 4's open: D, 4,900 at 10 from a slot of 98,800.876 /
    // 2 (costs 12.25 + 0.49); E opens at the limit up; F's lot costs more
    // than the cash. D's stop on day 4's close sells at day 5's close, its
    // open being at the limit down (costs 10.4125 + 0.4165 + 20.825).
    const double afterBuys = 100'000 - 50'013 - 48'012.48;
    const double afterA = afterBuys + 52'500 - 39.9;
    const double afterB = afterA + 44'400 - 33.744;
    const double afterD = afterB - 49'012.74;
    const double last = afterD + 41'650 - 31.654;
    const double net[] = {100'000, afterBuys + 98'000, afterA + 43'200, afterD + 43'610, last};
    ASSERT_EQ(run.equity.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_NEAR(run.equity[i].net, net[i], 1e-6) << i;
    EXPECT_NEAR(run.equity[3].cash, afterD, 1e-6);
    EXPECT_NEAR(run.equity[3].holdings, 43'610, 1e-6);
    EXPECT_DOUBLE_EQ(run.equity[0].market, 100'000);

    ASSERT_EQ(run.trades.size(), 3u);
    const Trade& ta = run.trades[0];
    const Trade& tb = run.trades[1];
    const Trade& td = run.trades[2];
    EXPECT_EQ(std::tie(ta.stock, ta.entryDay, ta.exitDay, ta.shares),
              std::tuple(0u, 2u, 3u, 5000L));
    EXPECT_EQ(std::tie(tb.stock, tb.exitDay, tb.shares, tb.delayed),
              std::tuple(1u, 4u, 2400L, true));
    EXPECT_EQ(std::tie(td.stock, td.entryDay, td.exitDay, td.shares, td.reason, td.delayed),
              std::tuple(3u, 4u, 5u, 4900L, ExitReason::StopLoss, true));
    EXPECT_EQ(ta.reason, ExitReason::Hold);
    EXPECT_DOUBLE_EQ(td.exitPrice, 8.5);
    EXPECT_NEAR(ta.ret, (52'500 - 39.9) / 50'013 - 1, 1e-12);
    EXPECT_NEAR(tb.buyCost, 12.48, 1e-9);
    EXPECT_NEAR(tb.sellCost, 33.744, 1e-9);
    EXPECT_EQ(std::tie(run.bought, run.noSlot, run.notBuyable, run.noCash, run.delayedSales),
              std::tuple(3u, 1u, 1u, 1u, 2u));

    const PortfolioFigures& f = run.figures;
    EXPECT_NEAR(f.totalReturn, last / 100'000 - 1, 1e-12);
    EXPECT_NEAR(f.maxDrawdown, 1 - last / 100'000, 1e-12);
    EXPECT_EQ(std::tie(f.peakDay, f.troughDay), std::tuple(1u, 5u));
    EXPECT_NEAR(f.winRate, 1.0 / 3, 1e-12);
    EXPECT_NEAR(f.meanHoldingDays, 4.0 / 3, 1e-12);
    const double meanNet = (net[0] + net[1] + net[2] + net[3] + net[4]) / 5;
    EXPECT_NEAR(f.turnover, (147'000 + 138'550) / 2.0 / meanNet * 242 / 4, 1e-9);

    // Held 10 days with a 4% take-profit and no stop: A's +5% on day 3 sells
    // at day 4's open, whose free slot buys D; B and D are still held at the
    // end, valued at their last close, out of the win rate.
    o.hold = 10;
    o.stopLoss = 0;
    o.takeProfit = 0.04;
    const PortfolioRun held = runPortfolio(r, candidates, o);
    ASSERT_EQ(held.trades.size(), 3u);
    EXPECT_EQ(std::tie(held.trades[0].reason, held.trades[0].exitDay),
              std::tuple(ExitReason::TakeProfit, 4u));
    EXPECT_DOUBLE_EQ(held.trades[0].exitPrice, 10.5);
    EXPECT_EQ(held.trades[1].reason, ExitReason::OpenAtEnd);
    EXPECT_NEAR(held.trades[1].ret, 2400 * 18.5 / 48'012.48 - 1, 1e-12);
    EXPECT_EQ(std::tie(held.trades[2].stock, held.trades[2].reason),
              std::tuple(3u, ExitReason::OpenAtEnd));
    EXPECT_EQ(held.noSlot, 2u);
    EXPECT_DOUBLE_EQ(held.figures.winRate, 1);
}

TEST(Portfolio, FiguresOfASeriesByHand) {
    // 100, 110, 99: daily returns +10% and -10%, their deviation 0.1 * sqrt(2).
    const PortfolioFigures f = portfolioFigures({100, 110, 99}, {7, 8, 9}, {}, 0.0242);
    EXPECT_NEAR(f.totalReturn, -0.01, 1e-12);
    EXPECT_NEAR(f.annualReturn, std::pow(0.99, 121) - 1, 1e-12);
    EXPECT_NEAR(f.volatility, 0.1 * std::sqrt(2.0) * std::sqrt(242.0), 1e-12);
    EXPECT_NEAR(f.sharpe, -0.0001 / (0.1 * std::sqrt(2.0)) * std::sqrt(242.0), 1e-12);
    EXPECT_NEAR(f.maxDrawdown, 0.1, 1e-12);
    EXPECT_EQ(std::tie(f.peakDay, f.troughDay), std::tuple(8u, 9u));
    EXPECT_NEAR(f.calmar, f.annualReturn / 0.1, 1e-12);
    EXPECT_TRUE(std::isnan(f.winRate));
}

// Each day's candidates: best score first, equal scores in signal (stock)
// order, whether the scores span a short range or a wide one.
TEST(Portfolio, CandidatesAreBestScoreFirstWithEqualScoresInSignalOrder) {
    Results r;
    r.baseline = {BaselineDay{}, BaselineDay{}};
    r.baseline[1].day = 1;
    for (auto [day, score] : {std::pair{0, 5},
                              {0, 9},
                              {1, 100000},
                              {0, 5},
                              {1, -100000},
                              {0, -3},
                              {1, 7},
                              {0, 9},
                              {1, 100000}}) {
        Signal s;
        s.day = std::uint32_t(day), s.score = score;
        r.signals.push_back(s);
    }
    const auto all = candidatesByDay(r, [](const Signal&) { return true; });
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], (std::vector<std::uint32_t>{1, 7, 0, 3, 5}));
    EXPECT_EQ(all[1], (std::vector<std::uint32_t>{2, 8, 6, 4}));
    const auto positive = candidatesByDay(r, [](const Signal& s) { return s.score > 0; });
    EXPECT_EQ(positive[0], (std::vector<std::uint32_t>{1, 7, 0, 3}));
}
