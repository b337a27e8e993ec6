// 行情总览's figures with the whole market's 5,429 stocks: one sort by a
// column (the rows ordered and the views told), one whole-market round
// applied on the window thread (what a refresh costs that thread: the
// worker fetches and parses), one answer of 1,000 quote lines parsed on the
// worker, and the window itself refreshing against a local quote service
// (visible rows every 0.2 s, the whole market every second) while a 1 ms
// timer measures the longest the window thread went without serving it (each
// gap over 20 ms is listed on stderr with its time).
// Runs on Qt's offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <cstdio>
#include <random>

#include <QElapsedTimer>
#include <QTimer>
#include <filesystem>

#include "LocalHttpServer.h"
#include "markettable/MarketQuote.h"
#include "markettable/MarketTableModel.h"
#include "markettable/MarketTableWindow.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/MarketServers.h"
#include "platform/QtMainThreadDispatcher.h"

using namespace orvane;
using namespace orvane::app;

namespace {

constexpr int kStocks = 5429;

std::string codeOf(int i) {
    char code[8];
    std::snprintf(code, sizeof code, "%06d", i < kStocks / 2 ? 600000 + i : i);
    return code;
}

std::vector<MarketQuote> wholeMarket(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> move(-0.1, 0.1), price(2, 200);
    std::vector<MarketQuote> quotes;
    for (int i = 0; i < kStocks; ++i) {
        MarketQuote q;
        q.code = codeOf(i);
        q.name = "股票" + q.code;
        q.previousClose = price(random);
        q.price = q.previousClose * (1 + move(random));
        q.open = q.previousClose;
        q.high = std::max(q.price, q.open) * 1.01;
        q.low = std::min(q.price, q.open) * 0.99;
        q.volume = 1e6 * price(random);
        q.amount = q.volume * q.price;
        quotes.push_back(std::move(q));
    }
    return quotes;
}

struct Market {
    MarketTableModel model;
    QTableView view;
    Market() {
        std::vector<std::pair<std::string, std::string>> stocks;
        for (int i = 0; i < kStocks; ++i) stocks.emplace_back(codeOf(i), "股票" + codeOf(i));
        model.setStocks(stocks);
        model.applyQuotes(wholeMarket(1), TimePoint{});
        view.setModel(&model);
        view.resize(1000, 640);
        view.show();
        QApplication::processEvents();
    }
};

void BM_Sort5429RowsByPercent(benchmark::State& state) {
    Market market;
    const int percent = static_cast<int>(MarketColumn::Percent);
    market.view.selectRow(100);  // a selection to carry along
    bool descending = true;
    for (auto _ : state) {
        market.model.sort(percent, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        descending = !descending;
    }
}
BENCHMARK(BM_Sort5429RowsByPercent)->Unit(benchmark::kMillisecond);

void BM_Sort5429RowsByName(benchmark::State& state) {
    Market market;
    const int name = static_cast<int>(MarketColumn::Name);
    bool descending = true;
    for (auto _ : state) {
        market.model.sort(name, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        descending = !descending;
    }
}
BENCHMARK(BM_Sort5429RowsByName)->Unit(benchmark::kMillisecond);

// The first sort by name after the rows changed: the pinyin order worked out.
void BM_FirstSort5429RowsByName(benchmark::State& state) {
    MarketTableModel model;
    std::vector<std::pair<std::string, std::string>> stocks;
    const char* names[] = {"浦发银行", "万科A", "平安银行", "贵州茅台", "中国平安", "招商银行"};
    for (int i = 0; i < kStocks; ++i) stocks.emplace_back(codeOf(i), names[i % 6] + codeOf(i));
    for (auto _ : state) {
        state.PauseTiming();
        model.sort(0, Qt::AscendingOrder);  // by code: the names' order is not kept
        model.setStocks(stocks);
        state.ResumeTiming();
        model.sort(static_cast<int>(MarketColumn::Name), Qt::AscendingOrder);
    }
}
BENCHMARK(BM_FirstSort5429RowsByName)->Unit(benchmark::kMillisecond);

// A whole-market round on the window thread: the quotes into their rows,
// 涨速, the rows ordered again by 涨跌幅 and the view repainted.
void BM_ApplyWholeMarketRound(benchmark::State& state) {
    Market market;
    market.model.sort(static_cast<int>(MarketColumn::Percent), Qt::DescendingOrder);
    const std::vector<MarketQuote> rounds[2] = {wholeMarket(2), wholeMarket(3)};
    int n = 0;
    for (auto _ : state) {
        market.model.applyQuotes(rounds[n % 2], TimePoint{} + std::chrono::seconds(30 * ++n));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ApplyWholeMarketRound)->Unit(benchmark::kMillisecond);

// The worker's share of a batch: 1,000 quote lines parsed.
void BM_Parse1000QuoteLines(benchmark::State& state) {
    std::string text;
    for (const MarketQuote& q : wholeMarket(4)) {
        if (text.size() > 0 && std::count(text.begin(), text.end(), '\n') == 1000) break;
        char line[512];
        std::snprintf(line, sizeof line,
                      "var hq_str_sh%s=\"%s,%.2f,%.2f,%.2f,%.2f,%.2f,%.2f,%.2f,%.0f,%.2f,"
                      "100,1,100,1,100,1,100,1,100,1,100,1,100,1,100,1,100,1,100,1,"
                      "2026-12-08,14:59:57,00\";\n",
                      q.code.c_str(), q.name.c_str(), q.open, q.previousClose, q.price, q.high,
                      q.low, q.price, q.price, q.volume, q.amount);
        text += line;
    }
    for (auto _ : state) {
        auto quotes = parseQuoteLines(text);
        if (quotes.size() != 1000) state.SkipWithError("not 1000 quotes");
        benchmark::DoNotOptimize(quotes);
    }
}
BENCHMARK(BM_Parse1000QuoteLines)->Unit(benchmark::kMicrosecond);

// A quote service answering every symbol asked with a price that moves
// with each request.
std::string movingQuotes(const std::string& symbols, int step) {
    std::string out;
    std::size_t pos = 0;
    while (pos < symbols.size()) {
        std::size_t end = symbols.find(',', pos);
        if (end == std::string::npos) end = symbols.size();
        const std::string symbol = symbols.substr(pos, end - pos);
        const int seed = std::atoi(symbol.c_str() + 2) + step;
        const double close = 10 + seed % 90, price = close * (1 + (seed % 19 - 9) / 100.0);
        char line[512];
        std::snprintf(line, sizeof line,
                      "var hq_str_%s=\"S%s,%.2f,%.2f,%.2f,%.2f,%.2f,%.2f,%.2f,%d,%.2f,"
                      "100,1,100,1,100,1,100,1,100,1,100,1,100,1,100,1,100,1,100,1,"
                      "2026-12-08,14:59:57,00\";\n",
                      symbol.c_str(), symbol.c_str() + 2, close, close, price, price * 1.01,
                      price * 0.99, price, price, 100000 + seed, price * (100000 + seed));
        out += line;
        pos = end + 1;
    }
    return out;
}

void BM_WindowThreadGapWhileRefreshing(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "orvane-market-table-bench";
    setenv("ORVANE_DATA_DIR", dir.c_str(), 1);
    std::string table;
    for (int i = 0; i < kStocks; ++i) table += codeOf(i) + "\t股票" + codeOf(i) + "\tGP\n";
    std::filesystem::create_directories(CodeTable::shared().file().parent_path());
    writeFileAtomically(CodeTable::shared().file(), *utf8ToUtf16(table));

    test::LocalHttpServer quotes;
    std::atomic<int> requests{0};
    quotes.server().Get("/", [&](const httplib::Request& request, httplib::Response& response) {
        response.set_content(movingQuotes(request.get_param_value("list"), ++requests),
                             "text/plain");
    });
    quotes.start();
    MarketServers::install(std::make_shared<MarketServers>(quotes.url("/orvane"), quotes.url("/")));
    MainThreadDispatcher::install(
        std::make_shared<QtMainThreadDispatcher>(QCoreApplication::instance()));

    double longest = 0;
    int rounds = 0;
    for (auto _ : state) {
        MarketTableWindow window({std::chrono::milliseconds(200), std::chrono::seconds(1)});
        window.table()->sortByColumn(static_cast<int>(MarketColumn::Percent), Qt::DescendingOrder);
        window.show();
        QCoreApplication::processEvents();  // the window on screen: from here on, the refreshes
        QElapsedTimer since, total;
        since.start();
        total.start();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const double gap = static_cast<double>(since.nsecsElapsed()) / 1e6;
            if (gap > 20) std::fprintf(stderr, "gap %.1f ms at %lld ms\n", gap, total.elapsed());
            longest = std::max(longest, gap);
            since.restart();
        });
        tick.start(1);
        while (total.elapsed() < 6000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        rounds = window.roundsApplied();
        window.hide();
    }
    state.counters["longest_gap_ms"] = longest;
    state.counters["rounds"] = rounds;
    state.counters["requests"] = requests.load();
    MainThreadDispatcher::install(nullptr);
    MarketServers::install(nullptr);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WindowThreadGapWhileRefreshing)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
