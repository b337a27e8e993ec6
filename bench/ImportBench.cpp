// Reading the real market in ../shared/market (or $ORVANE_MARKET_DIR) from
// each layout --data knows, against the reader of our own CSV folder
// (`--csv-dir`): the market is first written in each layout into a
// temporary folder ($TMPDIR), then read on two threads, as a publish reads
// it. Files come from the page cache after the first round. `cpu_s_per_read`
// is the processor time of all threads a read took.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "MarketLayouts.h"
#include "orvane/market/DailyFolder.h"
#include "orvane/market/MarketData.h"

namespace fs = std::filesystem;
using namespace orvane;

namespace {

fs::path marketDir() {
    const char* env = std::getenv("ORVANE_MARKET_DIR");
    return env ? fs::path(env) : fs::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "market";
}

struct Written {
    fs::path root;
    test::WrittenMarket dayFiles, akshare, tushare, baostock;
    Written() {
        std::random_device rd;
        root = fs::temp_directory_path() / ("orvane-import-bench-" + std::to_string(rd()));
        const fs::path daily = marketDir() / "daily", list = marketDir() / "stocklist.csv";
        dayFiles = test::writeDayFiles(daily, list, root / "tdx");
        akshare = test::writeAkshare(daily, list, root / "ak");
        tushare = test::writeTushare(daily, list, root / "ts");
        baostock = test::writeBaostock(daily, list, root / "bs");
    }
    ~Written() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

const Written& written() {
    static const Written w;
    return w;
}

const std::vector<ListedStock>& listing() {
    static const auto list = readStockList(marketDir() / "stocklist.csv", [](auto&) {});
    return list;
}

// User and system seconds of every thread of the process so far: on a
// shared machine the wall time says more about the neighbours.
double processSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(use.ru_utime) + seconds(use.ru_stime);
}

void count(benchmark::State& state, std::size_t stocks, std::size_t days, double cpuStart) {
    state.counters["stocks"] = static_cast<double>(stocks);
    state.counters["days"] = static_cast<double>(days);
    state.counters["cpu_s_per_read"] =
        (processSeconds() - cpuStart) / static_cast<double>(state.iterations());
}

void BM_CsvDirReader(benchmark::State& state) {
    if (!fs::is_directory(marketDir() / "daily")) return state.SkipWithError("no market data");
    std::size_t stocks = 0, days = 0;
    const double cpu = processSeconds();
    for (auto _ : state) {
        const auto read = readDailyFolder(
            marketDir() / "daily", listing(), [](auto&) {}, 2);
        stocks = read.size();
        days = 0;
        for (const auto& s : read) days += s.bars.size();
    }
    count(state, stocks, days, cpu);
}

void BM_DataReader(benchmark::State& state) {
    if (!fs::is_directory(marketDir() / "daily")) return state.SkipWithError("no market data");
    const test::WrittenMarket* layouts[] = {nullptr, &written().dayFiles, &written().akshare,
                                            &written().tushare, &written().baostock};
    const auto* layout = layouts[state.range(0)];
    const fs::path data = layout ? layout->data : marketDir() / "daily";
    written();  // not timed
    std::size_t stocks = 0, days = 0;
    const double cpu = processSeconds();
    for (auto _ : state) {
        const MarketData read = readMarketData(
            data, listing(), [](auto&) {}, 2);
        stocks = read.stocks.size();
        days = 0;
        for (const auto& s : read.stocks) days += s.bars.size();
        state.SetLabel(std::string(marketLayoutName(read.layout)));
    }
    count(state, stocks, days, cpu);
}

}  // namespace

BENCHMARK(BM_CsvDirReader)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DataReader)
    ->DenseRange(0, 4)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
