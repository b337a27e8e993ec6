// The holdings tab with 200 held stocks: one rebuild (list the folder, read
// and decode every quote file, parse, sort by speed) and one table reload on
// the window thread (what the 5-second loop costs the window).
// Run build/bin/holdings_bench.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "holdings/HoldingFiles.h"
#include "holdings/MyStockHoldController.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextEncoding.h"

using namespace orvane;

namespace {

constexpr int kHoldings = 200;

/// 200 quote files of made-up stocks with Chinese names, as the quote service writes them.
void writeHoldings() {
    const std::filesystem::path folder = getHoldStockPath();
    for (int i = 0; i < kHoldings; ++i) {
        const std::string code = format("%06d", 600000 + i);
        const double yes = 5 + i * 0.37, close = yes * (1 + ((i * 37) % 19 - 9) / 100.0);
        std::string line = "var hq_str_sh" + code + "=\"股票" + std::to_string(i) + "," +
                           format("%.2f,%.2f,%.2f,%.2f,%.2f", yes, yes, close, close * 1.01,
                                  std::min(yes, close) * 0.99);
        for (int f = 6; f < 30; ++f) line += ",100";
        line += ",2025-12-08,10:05:00,00\";\n";
        writeFileAtomically(folder / (code + ".txt"), *utf8ToGb18030(line));
    }
}

void BM_Rebuild200Holdings(benchmark::State& state) {
    const std::filesystem::path folder = getHoldStockPath();
    for (auto _ : state) {
        app::HoldingList rows = app::readHoldings(folder);
        benchmark::DoNotOptimize(rows);
        if (rows.size() != kHoldings) state.SkipWithError("not every holding was read");
    }
}
BENCHMARK(BM_Rebuild200Holdings)->Unit(benchmark::kMillisecond);

void BM_TableReload200Holdings(benchmark::State& state) {
    app::MyStockHoldController tab({});
    tab.resize(500, 400);
    tab.show();
    tab.initStockArray();  // the list; its posted reload is not run here
    for (auto _ : state) {
        tab.updateMainUI();
        QApplication::processEvents();  // the repaint
    }
}
BENCHMARK(BM_TableReload200Holdings)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path data =
        std::filesystem::temp_directory_path() / ("holdings-bench-" + std::to_string(getpid()));
    setenv("ORVANE_DATA_DIR", data.c_str(), 1);
    QApplication application(argc, argv);
    writeHoldings();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(data);
    return 0;
}
