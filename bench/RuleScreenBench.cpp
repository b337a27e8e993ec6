// Today's screen by a rule over the real market in ../shared/market (or
// $ORVANE_MARKET_DIR): the day's results file of every stock (each stock's
// verdict computed once, before the timing) read from its text and screened,
// as the window and `orvane screen` do after the one fetch.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "orvane/backtest/MarketSource.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/market/RuleScreen.h"
#include "orvane/publisher/DayResultsFile.h"

namespace fs = std::filesystem;
using namespace orvane;

namespace {

const std::string& dayResults() {
    static const std::string text = [] {
        const char* env = std::getenv("ORVANE_MARKET_DIR");
        const fs::path dir =
            env ? fs::path(env) : fs::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "market";
        const backtest::Market market =
            backtest::loadDailyCsv(dir / "daily", dir / "stocklist.csv").market;
        std::vector<std::optional<DayResult>> each(market.stocks.size());
        parallelFor(each.size(), 0, [&](std::size_t i) {
            const backtest::MarketStock& s = market.stocks[i];
            if (auto day = server::computeDayVerdicts(s.code, s.history, 0).front())
                each[i] = server::dayResultOf({s.code, s.name, {}, {}}, *day);
        });
        std::vector<DayResult> results;
        for (auto& r : each)
            if (r) results.push_back(std::move(*r));
        return dayResultsText(results);
    }();
    return text;
}

void BM_ScreenByRule(benchmark::State& state, const char* ruleText) {
    if (dayResults().size() < 200) return state.SkipWithError("no market data");
    const StockRule rule = std::get<StockRule>(parseStockRule(ruleText));
    std::size_t stocks = 0, met = 0;
    for (auto _ : state) {
        const DayResultsRead read = parseDayResults(dayResults());
        const ScreenOutcome screen = screenDayResults(read.results, rule, nullptr);
        stocks = read.results.size();
        met = screen.met.size();
        benchmark::DoNotOptimize(screen);
    }
    state.counters["stocks"] = static_cast<double>(stocks);
    state.counters["met"] = static_cast<double>(met);
    state.counters["file_kB"] = static_cast<double>(dayResults().size()) / 1024;
}

}  // namespace

BENCHMARK_CAPTURE(BM_ScreenByRule, example,
                  "trend in (1001, 1000) and score >= 150 and gain5 < 20 and not st")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScreenByRule, every_field,
                  "trend in (1, 3, 1000, 1001) and score >= 100 and gain5 < 30 and gain10 > -20 "
                  "and change > -5 and close <= 200 and not limitup and not st and "
                  "board in (main, chinext, star) and not modelb")
    ->Unit(benchmark::kMillisecond);
