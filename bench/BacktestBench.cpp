// The back-test over the real market in ../shared/market (or
// $ORVANE_MARKET_DIR): the whole run (reading the prices, every verdict, the
// baseline and the groups) on one thread and on two, for the scaling; then a
// portfolio run over the verdicts of the whole range.

#include <benchmark/benchmark.h>
#include <spdlog/spdlog.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "orvane/backtest/Backtest.h"
#include "orvane/backtest/MarketSource.h"
#include "orvane/backtest/Portfolio.h"

namespace fs = std::filesystem;
using namespace orvane::backtest;

namespace {

const Market& market() {
    static const Market loaded = [] {
        const char* env = std::getenv("ORVANE_MARKET_DIR");
        const fs::path dir =
            env ? fs::path(env) : fs::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "market";
        return loadDailyCsv(dir / "daily", dir / "stocklist.csv").market;
    }();
    return loaded;
}

void BM_Backtest(benchmark::State& state) {
    if (market().stocks.empty()) return state.SkipWithError("no market data");
    Options options;
    options.jobs = static_cast<int>(state.range(0));
    std::size_t verdicts = 0;
    // Seconds from the start to the first progress call of each phase, and to the end.
    std::map<Phase, double> phaseStart;
    double end = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto since = [&] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        };
        verdicts = runBacktest(market(), options, [&](const Progress& p) {
                       phaseStart.try_emplace(p.phase, since());
                   }).results.signals.size();
        end = since();
    }
    state.counters["reading_s"] = phaseStart[Phase::Analysing];
    state.counters["analysing_s"] = phaseStart[Phase::Summarising] - phaseStart[Phase::Analysing];
    state.counters["summarising_s"] = end - phaseStart[Phase::Summarising];
    state.counters["verdicts"] = static_cast<double>(verdicts);
    state.counters["verdicts_per_s"] =
        benchmark::Counter(static_cast<double>(verdicts), benchmark::Counter::kIsRate);
}

// The verdicts a portfolio reads, worked out once (as a stored run would give them).
const Results& verdicts() {
    static const Results results = [] {
        Options options;
        options.jobs = 2;
        return runBacktest(market(), options).results;
    }();
    return results;
}

// A portfolio over the whole range (2.4 years): each day's candidates of
// every verdict (the longest lists) or of one trend code, then the run.
void BM_Portfolio(benchmark::State& state) {
    if (market().stocks.empty()) return state.SkipWithError("no market data");
    const Results& r = verdicts();
    const auto inGroup = groupFilter(r, state.range(0) ? "trend:1001" : "all");
    PortfolioOptions options;
    options.stopLoss = 0.08;
    std::size_t trades = 0;
    for (auto _ : state) {
        const auto candidates = candidatesByDay(r, *inGroup);
        trades = runPortfolio(r, candidates, options).trades.size();
    }
    state.counters["days"] = static_cast<double>(r.baseline.size());
    state.counters["trades"] = static_cast<double>(trades);
}

}  // namespace

BENCHMARK(BM_Backtest)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_Portfolio)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    spdlog::set_level(spdlog::level::warn);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
