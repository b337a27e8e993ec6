// publish: a user's market (our CSV files, or any layout --data knows), or the
// demo market, into the tree the data server serves.

#include <spdlog/spdlog.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "Commands.h"
#include "orvane/core/Clock.h"
#include "orvane/core/StagingFolder.h"
#include "orvane/market/MarketAdjustment.h"
#include "orvane/market/MarketData.h"
#include "orvane/market/TradingCalendar.h"
#include "orvane/publisher/MarketImport.h"
#include "orvane/publisher/Publisher.h"
#include "orvane/publisher/SyntheticMarket.h"

namespace orvane::server::cli {

namespace {

struct PublishArgs {
    std::string csvDir, data, stocks, out;
    std::string adjust = "none", events, factors;
    int synthetic = -1;
    std::uint64_t seed = 1;
    int daysBack = 98;
    int jobs = 0;
};

// A progress bar on stderr, redrawn every 1% or so.
void showProgress(std::size_t done, std::size_t total) {
    if (done != total && done % std::max<std::size_t>(total / 100, 1) != 0) return;
    const int width = 40, filled = static_cast<int>(width * done / std::max<std::size_t>(total, 1));
    std::fprintf(stderr, "\rpublishing [%.*s%*s] %zu/%zu", filled,
                 "########################################", width - filled, "", done, total);
    if (done == total) std::fprintf(stderr, "\n");
}

// Every failure says why on stderr before the exit status.
[[noreturn]] void failWith(const std::string& reason) {
    std::fprintf(stderr, "orvane-server publish: %s\n", reason.c_str());
    throw CLI::RuntimeError(1);
}

// The gaps an unadjusted market shows, the first of them listed.
void reportExRightsGaps(const std::vector<StockSeries>& stocks) {
    constexpr std::size_t kListed = 20;
    const std::vector<std::string> gaps = describeExRightsGaps(stocks);
    if (gaps.empty()) return;
    for (std::size_t i = 0; i < gaps.size() && i < kListed; ++i)
        std::fprintf(stderr, "orvane-server publish: %s\n", gaps[i].c_str());
    std::fprintf(
        stderr,
        "orvane-server publish: %zu days open further below the close before than the day's "
        "limit allows%s: the prices look unadjusted at ex-rights days; publish with "
        "--adjust forward (and --events or --adj-factors) to adjust them\n",
        gaps.size(), gaps.size() > kListed ? " (the first 20 above)" : "");
}

void runPublish(const PublishArgs& a) {
    // The engine's own log lines would drown the output; keep warnings only.
    spdlog::set_level(spdlog::level::warn);
    const auto start = std::chrono::steady_clock::now();
    std::size_t problems = 0;
    auto problem = [&](const std::string& text) {
        ++problems;
        std::fprintf(stderr, "orvane-server publish: %s\n", text.c_str());
    };

    const bool synthetic = a.synthetic >= 0, data = !a.data.empty();
    if (!synthetic && !data && (a.csvDir.empty() || a.stocks.empty()))
        throw CLI::ValidationError("publish",
                                   "give --data, --csv-dir with --stocks, or --synthetic N");
    if (data && !a.csvDir.empty())
        throw CLI::ValidationError("publish", "give --data or --csv-dir, not both");
    // What would fail at the end is checked before the work starts.
    const std::filesystem::path out = folderPathOf(a.out);
    if (auto bad = stagingProblemFor(out)) failWith(*bad + "; give an --out that can be written");
    if (!synthetic && !a.stocks.empty())
        if (auto bad = stockListProblem(a.stocks)) failWith(*bad);
    const bool adjust = a.adjust == "forward";
    if (!adjust && !(a.events.empty() && a.factors.empty()))
        failWith("--events and --adj-factors go with --adjust forward");
    // The ex-rights files are read whole; one that cannot be used stops the
    // publish before its work.
    const AdjustmentFiles adjustment = readAdjustmentFiles(a.events, a.factors);
    if (auto fault = adjustment.fault()) failWith(*fault);
    for (const std::string& p : adjustment.problems()) problem(p);

    std::vector<StockSeries> stocks;
    std::size_t refusedLines = 0;
    if (synthetic) {
        stocks = makeSyntheticMarket(a.synthetic, a.seed, lastTradingDayBefore(toLocal(now())));
    } else if (data) {
        std::vector<ListedStock> listing;
        if (a.stocks.empty())
            std::fprintf(stderr,
                         "no --stocks list: the codes stand in for the names, and which shares "
                         "are ST cannot be known (they get the 10%% limit)\n");
        else
            listing = readStockList(a.stocks, problem);
        MarketData market = readMarketData(a.data, listing, problem, a.jobs);
        if (!market.failure.empty()) failWith(market.failure);
        std::fprintf(stderr, "%s: %s, %zu stocks\n", a.data.c_str(),
                     std::string(marketLayoutName(market.layout)).c_str(), market.stocks.size());
        for (const std::string& note : market.notes) std::fprintf(stderr, "%s\n", note.c_str());
        stocks = std::move(market.stocks);
        refusedLines = market.refusedLines;
    } else {
        stocks = readDailyFolder(a.csvDir, readStockList(a.stocks, problem), problem, a.jobs);
        if (stocks.empty())
            failWith(a.csvDir +
                     ": no CODE.csv could be read; each needs the columns date, open, close, "
                     "high, low and volume");
        for (const StockSeries& s : stocks) refusedLines += s.refusedLines;
    }
    if (!adjust && !synthetic) reportExRightsGaps(stocks);

    PublishOptions options;
    options.daysBack = a.daysBack;
    options.jobs = a.jobs;
    if (adjust) options.adjustForward = adjustment.sources();
    options.version = toLocal(now());
    options.progress = showProgress;
    const PublishReport report = publishMarket(std::move(stocks), out, options);
    for (const auto& folder : report.staleStagingRemoved)
        std::fprintf(stderr, "removed %s, left by a publish that no longer runs\n", folder.c_str());
    if (!report.ok) failWith(report.error);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string remarks;
    if (adjust) {
        const MarketAdjustmentSummary& summary = report.adjustment;
        remarks = ", " + std::to_string(summary.exRightsDays) + " ex-rights days adjusted in " +
                  std::to_string(summary.stocksAdjusted) + " stocks";
        if (summary.stocksWithoutSource > 0)
            remarks += " (" + std::to_string(summary.stocksWithoutSource) +
                       " stocks had no ex-rights source)";
    }
    if (refusedLines) remarks += ", " + std::to_string(refusedLines) + " day lines refused";
    if (problems > refusedLines)
        remarks += ", " + std::to_string(problems - refusedLines) + " other problems above";
    std::fprintf(stderr, "published %zu stocks (%zu files, %zu model-B days) into %s in %.1f s%s\n",
                 report.stocks, report.files, report.modelBDays, out.c_str(), seconds,
                 remarks.c_str());
}

}  // namespace

void addPublishCommand(CLI::App& app) {
    auto a = std::make_shared<PublishArgs>();
    auto* publish =
        app.add_subcommand("publish", "publish daily CSV files or the demo market into a tree");
    publish->add_option("--csv-dir", a->csvDir, "folder of CODE.csv daily files")
        ->check(CLI::ExistingDirectory);
    publish
        ->add_option("--data", a->data,
                     "a market in any layout known: a folder (CODE.csv files, vipdoc day files, "
                     "akshare, tushare or baostock CSV) or one file holding every stock")
        ->check(CLI::ExistingPath);
    publish
        ->add_option("--stocks", a->stocks,
                     "stock list CSV (symbol or code, name, industry[, pinyin]; tushare, akshare "
                     "and baostock lists too)")
        ->check(CLI::ExistingFile);
    publish->add_option("--synthetic", a->synthetic, "publish the demo market of N stocks instead")
        ->expected(0, 1)
        ->default_str("300");
    publish->add_option("--seed", a->seed, "the demo market's seed")->capture_default_str();
    publish
        ->add_option("--adjust", a->adjust,
                     "adjust prices at ex-rights days: none or forward (proportional)")
        ->check(CLI::IsMember({"none", "forward"}))
        ->capture_default_str();
    publish
        ->add_option(
            "--events", a->events,
            "ex-rights events CSV (code, date, cash_per_10, bonus_per_10, transfer_per_10, "
            "rights_per_10, rights_price)")
        ->check(CLI::ExistingFile);
    publish
        ->add_option("--adj-factors", a->factors,
                     "adjustment factors CSV (ts_code, trade_date, adj_factor)")
        ->check(CLI::ExistingFile);
    publish->add_option("--out", a->out, "the tree to publish into")->required();
    publish->add_option("--days-back", a->daysBack, "earlier days with result files")
        ->capture_default_str()
        ->check(CLI::Range(0, 98));
    publish->add_option("--jobs", a->jobs, "stocks published at once (default: one per processor)")
        ->check(CLI::Range(0, 256));
    publish->callback([a] { runPublish(*a); });
}

}  // namespace orvane::server::cli
