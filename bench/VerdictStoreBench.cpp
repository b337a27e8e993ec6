// The verdict store over the real market in ../shared/market (or
// $ORVANE_MARKET_DIR): the plain column file against the same verdicts in
// an SQLite table, each written whole and read back whole (the column file
// keeps the market's prices and names too), and the back-test that takes
// the market from the store.

#include <benchmark/benchmark.h>
#include <spdlog/spdlog.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>

#include "orvane/backtest/Backtest.h"
#include "orvane/backtest/MarketSource.h"
#include "orvane/backtest/MarketVerdicts.h"
#include "orvane/core/AtomicFile.h"

namespace fs = std::filesystem;
using namespace orvane;
using namespace orvane::backtest;

namespace {

const fs::path kScratch = fs::temp_directory_path() / "orvane-verdict-store-bench";

fs::path marketDir() {
    const char* env = std::getenv("ORVANE_MARKET_DIR");
    return env ? fs::path(env) : fs::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "market";
}

const Market& market() {
    static const Market loaded = [] {
        const fs::path dir = marketDir();
        return loadDailyCsv(dir / "daily", dir / "stocklist.csv").market;
    }();
    return loaded;
}

// The market as its store keeps it, worked out once (and kept in the
// scratch folder for the next run of the benchmarks).
const KeptMarket& kept() {
    static const KeptMarket all = [] {
        fs::create_directories(kScratch);
        const fs::path store = kScratch / "kept.verdicts";
        const std::uint64_t key = marketVerdicts(market(), store).verdicts.key;
        return *readKeptMarket(store, key, kDefaultMinHistory);
    }();
    return all;
}

const MarketVerdicts& verdicts() {
    return kept().verdicts;
}

void BM_ColumnFileWrite(benchmark::State& state) {
    if (market().stocks.empty()) return state.SkipWithError("no market data");
    const fs::path file = kScratch / "column.verdicts";
    for (auto _ : state)
        if (replaceFile(file, verdictStoreBytes(kept()))) state.SkipWithError("cannot write");
    state.counters["bytes"] = static_cast<double>(fs::file_size(file));
}

void BM_ColumnFileRead(benchmark::State& state) {
    if (market().stocks.empty()) return state.SkipWithError("no market data");
    const fs::path file = kScratch / "column.verdicts";
    replaceFile(file, verdictStoreBytes(kept()));
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto read =
            keptMarketFromStore(*readFile(file), verdicts().key, verdicts().minHistory);
        rows = read ? read->verdicts.count() : 0;
    }
    state.counters["verdicts"] = static_cast<double>(rows);
}

void exec(sqlite3* db, const char* sql) {
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// The verdicts as one table, a row each, written in one transaction.
void writeSqlite(const fs::path& file, const MarketVerdicts& v) {
    fs::remove(file);
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    exec(db,
         "CREATE TABLE verdicts (stock INTEGER, date INTEGER, trend INTEGER, score INTEGER, "
         "model_b INTEGER, buy_a INTEGER, buy_b INTEGER, gain5 REAL, gain10 REAL, change REAL, "
         "close REAL, PRIMARY KEY (stock, date)) WITHOUT ROWID");
    exec(db, "CREATE TABLE stocks (stock INTEGER PRIMARY KEY, code TEXT)");
    exec(db, "BEGIN");
    sqlite3_stmt* add = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO verdicts VALUES (?,?,?,?,?,?,?,?,?,?,?)", -1, &add,
                       nullptr);
    for (std::size_t s = 0; s < v.stocks.size(); ++s)
        for (const DayVerdict& d : v.stocks[s].days) {
            sqlite3_bind_int(add, 1, static_cast<int>(s));
            sqlite3_bind_int(add, 2, d.date);
            sqlite3_bind_int(add, 3, d.trend);
            sqlite3_bind_int(add, 4, d.score);
            sqlite3_bind_int(add, 5, d.modelB);
            sqlite3_bind_int(add, 6, d.buyA);
            sqlite3_bind_int(add, 7, d.buyB);
            sqlite3_bind_double(add, 8, d.gain5);
            sqlite3_bind_double(add, 9, d.gain10);
            sqlite3_bind_double(add, 10, d.change);
            sqlite3_bind_double(add, 11, d.close);
            sqlite3_step(add);
            sqlite3_reset(add);
        }
    sqlite3_finalize(add);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

MarketVerdicts readSqlite(const fs::path& file, std::size_t stocks) {
    MarketVerdicts v;
    v.stocks.resize(stocks);
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* all = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM verdicts ORDER BY stock, date", -1, &all, nullptr);
    while (sqlite3_step(all) == SQLITE_ROW) {
        auto i = [&](int c) { return sqlite3_column_int(all, c); };
        auto f = [&](int c) { return static_cast<float>(sqlite3_column_double(all, c)); };
        v.stocks[static_cast<std::size_t>(i(0))].days.push_back(
            {i(1), i(2), i(3), i(4) != 0, static_cast<std::int8_t>(i(5)),
             static_cast<std::int8_t>(i(6)), f(7), f(8), f(9), f(10)});
    }
    sqlite3_finalize(all);
    sqlite3_close(db);
    return v;
}

void BM_SqliteWrite(benchmark::State& state) {
    if (market().stocks.empty()) return state.SkipWithError("no market data");
    const fs::path file = kScratch / "verdicts.sqlite";
    for (auto _ : state) writeSqlite(file, verdicts());
    state.counters["bytes"] = static_cast<double>(fs::file_size(file));
}

void BM_SqliteRead(benchmark::State& state) {
    if (market().stocks.empty()) return state.SkipWithError("no market data");
    const fs::path file = kScratch / "verdicts.sqlite";
    writeSqlite(file, verdicts());
    std::size_t rows = 0;
    for (auto _ : state) rows = readSqlite(file, verdicts().stocks.size()).count();
    state.counters["verdicts"] = static_cast<double>(rows);
}

// Processor seconds of the process so far, every thread's, user and system.
double processorSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(use.ru_utime) + seconds(use.ru_stime);
}

// The whole back-test with the market kept in the store, as a second
// `orvane backtest` over the same CSV folder runs it: the files' key, the
// store read, the run; cpu_s is the processor time of a run on all its
// threads, which a busy machine changes far less than the time on the clock.
void BM_BacktestFromStore(benchmark::State& state) {
    if (market().stocks.empty()) return state.SkipWithError("no market data");
    const fs::path dir = marketDir();
    const MarketFiles files{MarketFiles::Layout::DailyCsv, dir / "daily", dir / "stocklist.csv"};
    Market keyed = market();
    keyed.sourceKey = sourceFilesKey(files);
    Options options;
    options.jobs = static_cast<int>(state.range(0));
    options.verdictStore = kScratch / "files.verdicts";
    runBacktest(keyed, options);  // the store of these files
    bool fromStore = false;
    const double before = processorSeconds();
    for (auto _ : state) {
        auto kept = readKeptMarket(options.verdictStore, sourceFilesKey(files, options.jobs),
                                   options.minHistory, options.jobs);
        if (!kept) return state.SkipWithError("the store does not keep the market");
        fromStore = runBacktest(std::move(*kept), options).results.verdictsFromStore;
    }
    state.counters["cpu_s"] =
        (processorSeconds() - before) / static_cast<double>(state.iterations());
    if (!fromStore) state.SkipWithError("the verdicts were not read from the store");
}

}  // namespace

BENCHMARK(BM_ColumnFileWrite)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ColumnFileRead)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SqliteWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SqliteRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BacktestFromStore)->Arg(2)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    spdlog::set_level(spdlog::level::warn);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    fs::remove(kScratch / "column.verdicts");
    fs::remove(kScratch / "verdicts.sqlite");
    fs::remove(kScratch / "files.verdicts");
    return 0;
}
