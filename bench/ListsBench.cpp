// The stock filter tab's responsiveness: the top gainers with 300 rows,
// from the rising lists on disk until the table is painted, and a click on
// a column header (sort and repaint) by the day's change and by name.
// Run build/bin/lists_bench (offscreen).

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "BenchTiming.h"
#include "platform/QtSeams.h"
#include "lists/RowTableModel.h"
#include "lists/FilterStockUIController.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/reports/GainListFiles.h"
#include "ui_FilterStockUIController.h"

using namespace orvane;
using namespace orvane::bench;

namespace {

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("  %-44s median %.2f ms, max %.2f ms (%zu runs)\n", what, times[times.size() / 2],
                times.back(), times.size());
}

/// A rising list of `n` stocks as the server publishes it (GB 18030).
std::string risingList(int firstCode, int n, std::mt19937& random) {
    std::uniform_real_distribution<double> change(2.6, 10.0);
    std::string text = "序号,代码,名称,昨收,今开,现价,涨幅\n";
    for (int i = 0; i < n; ++i) {
        const double c = change(random), yes = 10.0 + i * 0.01;
        text += format("%d,%06d,股票%d,%.2f,%.2f,%.2f,%.2f\n", i, firstCode + i, i, yes, yes,
                       yes * (1 + c / 100), c);
    }
    return *utf8ToGb18030(text);
}

void paint(QTableView& table) {
    table.viewport()->repaint();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char folder[] = "/tmp/orvane-lists-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    setenv("ORVANE_DATA_DIR", folder, 1);
    QApplication application(argc, argv);
    app::initAppResources();

    std::mt19937 random(7);
    writeFileAtomically(marketGainListDownload(kMarketGainLists[0]),
                        risingList(600000, 150, random));
    writeFileAtomically(marketGainListDownload(kMarketGainLists[1]), risingList(1, 150, random));

    app::FilterStockUIController filter({});
    filter.resize(900, 700);
    filter.show();
    QTableView& table = *filter.ui().resultTableView;
    filter.ui().filterNumPopBtn->setCurrentIndex(3);  // 200 of each market: all 300 rows
    std::printf("stock filter (%s):\n", folder);

    std::vector<double> shown, byChange, byName;
    for (int i = 0; i < 30; ++i) {
        const auto start = Steady::now();
        filter.updateAllStock();
        paint(table);
        shown.push_back(msSince(start));
    }
    std::printf("  rows shown: %zu\n", filter.hushenStockList().size());
    for (int i = 0; i < 50; ++i) {
        auto start = Steady::now();
        filter.didClickTableColumn(1);  // the day's change
        paint(table);
        byChange.push_back(msSince(start));
        start = Steady::now();
        filter.didClickTableColumn(0);  // name and code, collated
        paint(table);
        byName.push_back(msSince(start));
    }
    report("top gainers read, parsed and painted", shown);
    report("column sort by change, painted", byChange);
    report("column sort by name (collation), painted", byName);
    std::filesystem::remove_all(folder);
    return 0;
}
