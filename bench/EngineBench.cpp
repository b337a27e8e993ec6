// Engine throughput over the real market: the engine that parses each
// history once against the literal one that splits the text again in every
// operation, and the parse alone. Reads ../shared/market (or $ORVANE_MARKET_DIR).

#include <benchmark/benchmark.h>
#include <spdlog/spdlog.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "LiteralEngine.h"
#include "orvane/analysis/AnalysisRun.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/CsvHistory.h"
#include "orvane/market/HistoryText.h"

namespace fs = std::filesystem;
using namespace orvane;

namespace {

struct Stock {
    std::string history;
    TodayTrade today;
};

const std::vector<Stock>& market() {
    static const std::vector<Stock> stocks = [] {
        std::vector<Stock> out;
        const char* env = std::getenv("ORVANE_MARKET_DIR");
        fs::path dir =
            env ? fs::path(env) : fs::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "market";
        if (!fs::is_directory(dir / "daily")) return out;
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(dir / "daily")) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const auto& f : files) {
            std::string history = csvToHistoryText(*readFile(f)).history;
            if (!isValidRespondStr(history)) continue;
            auto l1 = splitOn(*historyLine(history, 1), ','),
                 l2 = splitOn(*historyLine(history, 2), ',');
            out.push_back({history,
                           {f.stem().string(), leadingFloat(l1[1]), leadingFloat(l1[4]),
                            leadingFloat(l2[4])}});
        }
        return out;
    }();
    return stocks;
}

const LocalDateTime kNow = *parseDateTime("2025-09-03 15:00:00");

void BM_EngineParsedOnce(benchmark::State& state) {
    const auto& stocks = market();
    if (stocks.empty()) return state.SkipWithError("no market data");
    for (auto _ : state) {
        for (const Stock& s : stocks) {
            ParsedHistory h(s.history);
            benchmark::DoNotOptimize(
                parseOneStockYahooHistoryFormToday(HistoryView(h), s.today, kNow));
        }
    }
    state.counters["stocks"] = static_cast<double>(stocks.size());
    state.counters["per_stock_us"] = benchmark::Counter(
        static_cast<double>(stocks.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The parse alone: each history's element starts found and every day line
// read into its fields (a run reads about a third of them).
void BM_HistoryLinesRead(benchmark::State& state) {
    const auto& stocks = market();
    if (stocks.empty()) return state.SkipWithError("no market data");
    std::int64_t lines = 0;
    for (auto _ : state) {
        lines = 0;
        for (const Stock& s : stocks) {
            ParsedHistory h(s.history);
            for (std::int64_t i = 0; i < h.size(); ++i) benchmark::DoNotOptimize(h.line(i).close);
            lines += h.size();
        }
    }
    state.counters["per_line"] = benchmark::Counter(
        static_cast<double>(lines),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_EngineLiteral(benchmark::State& state) {
    const auto& stocks = market();
    if (stocks.empty()) return state.SkipWithError("no market data");
    for (auto _ : state)
        for (const Stock& s : stocks)
            benchmark::DoNotOptimize(literal::analyzeLiteral(s.history, s.today, kNow));
    state.counters["stocks"] = static_cast<double>(stocks.size());
}

}  // namespace

BENCHMARK(BM_EngineParsedOnce)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_HistoryLinesRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_EngineLiteral)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
    spdlog::set_level(spdlog::level::warn);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
