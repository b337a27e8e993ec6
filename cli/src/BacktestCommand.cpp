// backtest: what the engine's verdicts were worth in the past, over a
// published tree or a folder of daily CSV files.

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>

#include "BacktestTable.h"
#include "Commands.h"
#include "ProgressLine.h"
#include "orvane/backtest/MarketSource.h"
#include "orvane/backtest/MarketVerdicts.h"
#include "orvane/backtest/ResultFiles.h"
#include "orvane/core/TextSplit.h"

namespace orvane::cli {

using namespace orvane::backtest;

namespace {

// The command's exit codes (its --help lists them).
enum ExitCode : int {
    kOtherFailure = 1,
    kBadOption = 2,
    kUnreadableInput = 3,
    kRangeOutsideData = 4,
    kUnwritableOutput = 5,
};

constexpr const char* kRules = R"(Rules:
  Trading days are the market's: every date on which some stock has a line.
  The verdict of day D is the one given during D's session: the history up
  to the day before D, D's open and close, at 15:00. A day needs 300 days of
  history before it. Entry at the open of the next trading day (or, with
  --entry close, at D's close); a horizon of N days ends with the close of
  the N-th trading day after D.
  A stock without a trade on a day (no line that day, or a volume of 0) is
  suspended: no verdict that day, no entry that day (the signal counts as
  not filled), and its price holds at its last close until it trades again.
  Horizons that end after a stock's last line are incomplete: counted apart,
  never in the figures. An entry at the limit-up price (open at or above
  +9.9% over the previous close, or at the exchange's rounded limit price;
  +19.9% for codes 30x and 68x, +4.9% for ST shares when the names are known)
  is flagged; --tradable leaves such entries out, of the baseline too.
  The baseline is the equal-weighted market: the mean return of every stock
  entered the same way on the same day, verdict or not; excess is a signal's
  return less it.
  Each group's mean excess gets a two-sided 95% interval and p-value from a
  bootstrap that resamples whole market days in blocks of twice the horizon
  (a signal's holding overlaps those of the next days' signals, and one
  day's signals share its market: single signals would claim far too much
  certainty); groups whose days hold fewer than 4 blocks get none. The same
  --seed gives the same intervals.
  The market's verdicts are kept beside the tree or folder (its name with
  .verdicts added), keyed by the data's content: a later back-test of the
  same data reads them instead of working them out again; a store of other
  data or a damaged one is worked out again and replaced.

Exit codes: 0 done; 2 a bad option value or a command line that cannot be
read; 3 the tree, folder or stock list cannot be read (or no stock in it);
4 the range lies outside the data; 5 --out cannot be written (or is a
folder with other files); 1 anything else. Nothing is written
to --out unless the run completed; a folder an earlier back-test wrote is
replaced whole.)";

struct BacktestArgs {
    std::string tree, csvDir, data, stocks, from, to, horizons = "5,10,20", out, entry = "open";
    std::string adjust = "none", events, factors;
    int jobs = 0;
    std::uint64_t seed = 1;
    std::size_t resamples = kDefaultResamples;
    bool tradable = false;
    bool noStore = false;
};

[[noreturn]] void failWith(int code, const std::string& message) {
    std::fprintf(stderr, "orvane backtest: %s\n", message.c_str());
    throw CLI::RuntimeError(code);
}

std::vector<int> parseHorizons(const std::string& text) {
    std::vector<int> out;
    for (std::string_view part : splitOn(text, ',')) {
        int value = 0;
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || ec != std::errc() || end != part.data() + part.size())
            failWith(kBadOption, "--horizons \"" + text +
                                     "\": give trading days separated by commas, as 5,10,20");
        out.push_back(value);
    }
    return out;
}

Options optionsOf(const BacktestArgs& a) {
    Options o;
    o.from = a.from;
    o.to = a.to;
    o.horizons = parseHorizons(a.horizons);
    if (a.entry != "open" && a.entry != "close")
        failWith(kBadOption, "--entry " + a.entry + ": give open or close");
    o.entry = a.entry == "open" ? EntryPrice::NextOpen : EntryPrice::SignalClose;
    o.tradableOnly = a.tradable;
    o.jobs = a.jobs;
    o.seed = a.seed;
    o.resamples = a.resamples;
    if (auto bad = checkOptions(o)) failWith(kBadOption, *bad);
    return o;
}

MarketLoad loadMarket(const BacktestArgs& a) {
    const bool data = !a.data.empty();
    const bool csv = !data && (!a.csvDir.empty() || !a.stocks.empty());
    if (int(!a.tree.empty()) + int(csv) + int(data) != 1 || (data && !a.csvDir.empty()))
        failWith(kBadOption,
                 "give either --tree TREE, --data PATH [--stocks LIST.csv] or --csv-dir DIR with "
                 "--stocks LIST.csv");
    if (csv && (a.csvDir.empty() || a.stocks.empty()))
        failWith(kBadOption, "--csv-dir and --stocks go together");
    const bool adjust = a.adjust == "forward";
    if (adjust && !csv && !data)
        failWith(kBadOption,
                 "--adjust goes with --csv-dir or --data: a tree is adjusted when it is published");
    if (!adjust && !(a.events.empty() && a.factors.empty()))
        failWith(kBadOption, "--events and --adj-factors go with --adjust forward");
    const AdjustmentFiles files = readAdjustmentFiles(a.events, a.factors);
    if (auto fault = files.fault()) failWith(kUnreadableInput, *fault);
    const AdjustmentSources sources = files.sources();
    const AdjustmentSources* adjustment = adjust ? &sources : nullptr;
    MarketLoad load = data  ? loadMarketData(a.data, a.stocks, a.jobs, adjustment)
                      : csv ? loadDailyCsv(a.csvDir, a.stocks, a.jobs, adjustment)
                            : loadPublishedTree(a.tree);
    for (const std::string& p : files.problems())
        std::fprintf(stderr, "orvane backtest: %s\n", p.c_str());
    if (adjust && load.failure == SourceFailure::None)
        if (auto none = adjustmentSourceProblem(load.adjustment, load.market.stocks.size()))
            failWith(kBadOption, *none);
    for (const std::string& p : load.market.problems)
        std::fprintf(stderr, "orvane backtest: %s\n", p.c_str());
    if (load.failure != SourceFailure::None) failWith(kUnreadableInput, load.message);
    return load;
}

void runBacktestCommand(const BacktestArgs& a) {
    const auto start = std::chrono::steady_clock::now();
    const Options options = optionsOf(a);
    // An --out that cannot be written fails now, not after the whole market.
    if (!a.out.empty())
        if (auto bad = resultFolderProblem(a.out)) failWith(kUnwritableOutput, *bad);
    const MarketLoad load = loadMarket(a);
    Options stored = options;
    if (!a.noStore)
        stored.verdictStore = verdictStorePathFor(!a.tree.empty()   ? a.tree
                                                  : !a.data.empty() ? a.data
                                                                    : a.csvDir);

    ProgressLine reading("reading"), analysing("analysing");
    const Run run = runBacktest(load.market, stored, [&](const Progress& p) {
        if (p.phase == Phase::Reading) reading.update(p.done, p.total);
        if (p.phase == Phase::Analysing) analysing.update(p.done, p.total);
    });
    switch (run.failure) {
        case Failure::None:
            break;
        case Failure::BadOptions:
            failWith(kBadOption, run.message);
        case Failure::NoStocks:
            failWith(kUnreadableInput, run.message);
        case Failure::RangeOutsideData:
            failWith(kRangeOutsideData, run.message);
        case Failure::Stopped:
            failWith(kOtherFailure, run.message);
    }
    const Results& r = run.results;
    for (std::size_t i = load.market.problems.size(); i < r.notes.size(); ++i)
        std::fprintf(stderr, "note: %s\n", r.notes[i].c_str());
    const std::string tables = backtestTables(r);
    std::fwrite(tables.data(), 1, tables.size(), stdout);
    std::fflush(stdout);

    if (!a.out.empty()) {
        std::string error;
        if (!writeResultFolder(r, a.out, error)) failWith(kUnwritableOutput, error);
        std::fprintf(stderr, "wrote signals.csv, summary.csv and baseline.csv into %s\n",
                     a.out.c_str());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string refused =
        load.refusedLines ? ", " + std::to_string(load.refusedLines) + " day lines refused" : "";
    const std::string adjusted =
        load.adjustment.exRightsDays
            ? ", " + std::to_string(load.adjustment.exRightsDays) + " ex-rights days adjusted"
            : "";
    // A store that could not be written has its note above.
    const bool unkept = std::any_of(r.notes.begin(), r.notes.end(), [](const std::string& n) {
        return n.starts_with("the verdicts could not be kept");
    });
    const std::string store = stored.verdictStore.empty() || unkept ? ""
                              : r.verdictsFromStore
                                  ? ", verdicts read from " + stored.verdictStore.string()
                                  : ", verdicts kept in " + stored.verdictStore.string();
    std::fprintf(stderr, "%zu verdicts of %zu stocks in %.1f s%s%s%s\n", r.signals.size(),
                 r.stocks.size(), seconds, refused.c_str(), adjusted.c_str(), store.c_str());
}

}  // namespace

void addBacktestCommand(CLI::App& app) {
    auto a = std::make_shared<BacktestArgs>();
    auto* cmd =
        app.add_subcommand("backtest",
                           "what the verdicts were worth in the past: each day's verdict of every "
                           "stock against what the stock did over the next days");
    cmd->add_option("--tree", a->tree, "a tree orvane-server publish wrote");
    cmd->add_option("--csv-dir", a->csvDir, "a folder of CODE.csv daily files (with --stocks)");
    cmd->add_option("--data", a->data,
                    "a market in any layout orvane-server publish --data reads (a folder or one "
                    "file)");
    cmd->add_option("--stocks", a->stocks, "the stock list CSV (symbol or code, name, ...)");
    cmd->add_option("--from", a->from, "first signal day, YYYY-MM-DD (default: the data's first)");
    cmd->add_option("--to", a->to, "last signal day, YYYY-MM-DD (default: the data's last)");
    cmd->add_option("--horizons", a->horizons,
                    "trading days after the signal day, 1 to 250, at most 6")
        ->capture_default_str();
    cmd->add_option("--jobs", a->jobs, "threads (default: one per processor)");
    cmd->add_option("--out", a->out, "write signals.csv, summary.csv and baseline.csv here");
    cmd->add_option("--entry", a->entry, "open (the next day's open) or close (the signal day's)")
        ->capture_default_str();
    cmd->add_option("--adjust", a->adjust,
                    "adjust --csv-dir or --data prices at ex-rights days: none or forward")
        ->check(CLI::IsMember({"none", "forward"}))
        ->capture_default_str();
    cmd->add_option("--events", a->events, "ex-rights events CSV (with --adjust forward)")
        ->check(CLI::ExistingFile);
    cmd->add_option("--adj-factors", a->factors,
                    "adjustment factors CSV (ts_code, trade_date, adj_factor)")
        ->check(CLI::ExistingFile);
    cmd->add_option("--seed", a->seed, "seed of the bootstrap's resamples")->capture_default_str();
    cmd->add_option("--resamples", a->resamples, "the bootstrap's resamples (0: no intervals)")
        ->capture_default_str();
    cmd->add_flag("--no-store", a->noStore,
                  "work every verdict out, neither reading nor keeping the verdict store");
    cmd->add_flag("--tradable", a->tradable, "leave out entries at the limit-up price");
    cmd->footer(kRules);
    cmd->callback([a] { runBacktestCommand(*a); });
}

}  // namespace orvane::cli
