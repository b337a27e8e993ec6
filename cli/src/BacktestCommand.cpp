// backtest: what the engine's verdicts were worth in the past, over a
// published tree or a folder of daily CSV files.

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>

#include "BacktestTable.h"
#include "Commands.h"
#include "PortfolioTable.h"
#include "ProgressLine.h"
#include "orvane/backtest/MarketSource.h"
#include "orvane/backtest/MarketVerdicts.h"
#include "orvane/backtest/ResultFiles.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockRuleBook.h"

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
    kRuleMetNothing = 6,
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
  never in the figures.
  Daily limits by board and date (ST shares known by their names):
    main board (60, 00)  10%; ST 5%, 10% from 2025-07-07
    ChiNext (30)         10% (ST 5%); 20%, ST too, from 2020-08-24
    STAR (68)            20%, ST too
  no limit in the first 5 trading days of a stock listed on STAR, on ChiNext
  from 2020-08-24 and on the main board from 2023-04-10 (a stock counts as
  newly listed when its first line comes after the data's first day).
  An entry at the limit-up price (at the exchange's rounded limit price, or
  within 0.1 point of the full move) is flagged; --tradable leaves such
  entries out, of the baseline too.
  The exit: T+1, a share bought on a day cannot be sold that day, so with
  --entry open horizon 1 ends at the close of the day after the entry day.
  No sale on a suspended day nor at a close at the limit down: the exit
  moves to the next day the stock can be sold at its close (counted; an
  exit the data never allows leaves the horizon incomplete).
  Prices as the data gives them: unless adjusted (--adjust forward, or a
  tree published with it), a note counts the signals held over a day that
  opens below its limit down, the mark of an ex-rights day.
  The baseline is the equal-weighted market: the mean return of every stock
  entered the same way on the same day, verdict or not; excess is a signal's
  return less it.
  --rule adds a group of the verdicts whose day meets a stock rule (a name
  from StockRules.plist in the data folder, or the rule's text, such as
  "trend in (1001, 1000) and score >= 150 and gain5 < 20 and not st"),
  beside every verdict; its limitup is the entry at the limit-up price.

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

  Net returns: after buying and selling a trade of --trade-size yuan with
  these costs, by the dates of the purchase and the sale:
%COSTS%

Portfolio (--portfolio): money instead of mean returns. Each day, at the
  open, it buys the previous day's signals of --group, best score first, one
  slot each (the net value at that open over --slots), in lots of 100 shares
  with the costs above. It sells at the close --hold trading days after the
  signal day (never before the close of the day after the purchase), or at
  the next open after a close that reaches --stop-loss or --take-profit. A
  sale that cannot be made (suspended, at the limit down) waits for the next
  open or close that allows it. A signal whose stock is held, does not trade
  or opens at the limit up, or that finds no free slot or no cash for a lot,
  is skipped and counted. Yearly figures over 242 trading days a year;
  Sharpe = (mean daily return - rf/242) / its deviation * sqrt(242); the
  market is the equal-weighted market from the same capital. --out receives
  equity.csv and trades.csv.

Exit codes: 0 done; 2 a bad option value or a command line that cannot be
read; 3 the tree, folder or stock list cannot be read (or no stock in it);
4 the range lies outside the data; 5 --out cannot be written (or is a
folder with other files); 6 the --rule met no verdict; 1 anything else. Nothing is written
to --out unless the run completed; a folder an earlier back-test wrote is
replaced whole.)";

struct BacktestArgs {
    std::string tree, csvDir, data, stocks, from, to, horizons = "5,10,20", out, entry = "open";
    std::string adjust = "none", events, factors, rule;
    int jobs = 0;
    bool tradable = false, noCosts = false;
    double commissionPercent = TradingCosts{}.commission * 100;
    double minCommission = TradingCosts{}.minCommission;
    double tradeSize = Options{}.tradeSize;
    bool portfolio = false;
    std::string group = "all";
    PortfolioOptions book;
    double stopLossPercent = 0, takeProfitPercent = 0, riskFreePercent = 0;
    std::uint64_t seed = 1;
    std::size_t resamples = kDefaultResamples;
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
    o.costs.commission = a.commissionPercent / 100;
    o.costs.minCommission = a.minCommission;
    o.costs.charged = !a.noCosts;
    o.tradeSize = a.tradeSize;
    if (!a.rule.empty()) {
        const RuleBookRead book = readRuleBook();
        if (!book.note.empty()) std::fprintf(stderr, "orvane backtest: %s\n", book.note.c_str());
        auto chosen = chooseRule(a.rule, book.rules);
        if (auto* why = std::get_if<std::string>(&chosen)) failWith(kBadOption, "--rule: " + *why);
        ChosenRule& c = std::get<ChosenRule>(chosen);
        o.rule = RuleChoice{std::move(c.name), std::move(c.rule), &SectorGroups::shared()};
    }
    o.seed = a.seed;
    o.resamples = a.resamples;
    if (auto bad = checkOptions(o)) failWith(kBadOption, *bad);
    return o;
}

// The market the arguments name: the one its verdict store keeps when that
// is of the very same files (nothing is read then), else the one read.
struct ChosenMarket {
    MarketLoad load;
    std::optional<KeptMarket> kept;
    const Market& market() const { return kept ? kept->market : load.market; }
};

ChosenMarket loadMarket(const BacktestArgs& a, const std::filesystem::path& store, int minHistory) {
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
    ChosenMarket chosen;
    std::uint64_t key = 0;
    if (!store.empty()) {
        using Layout = MarketFiles::Layout;
        const MarketFiles source{data  ? Layout::MarketData
                                 : csv ? Layout::DailyCsv
                                       : Layout::PublishedTree,
                                 data  ? a.data
                                 : csv ? a.csvDir
                                       : a.tree,
                                 a.stocks,
                                 adjust,
                                 a.events,
                                 a.factors};
        key = sourceFilesKey(source, a.jobs);
        chosen.kept = readKeptMarket(store, key, minHistory, a.jobs);
    }
    MarketLoad& load = chosen.load;
    if (!chosen.kept) {
        const AdjustmentSources sources = files.sources();
        const AdjustmentSources* adjustment = adjust ? &sources : nullptr;
        load = data  ? loadMarketData(a.data, a.stocks, a.jobs, adjustment)
               : csv ? loadDailyCsv(a.csvDir, a.stocks, a.jobs, adjustment)
                     : loadPublishedTree(a.tree);
        load.market.sourceKey = key;
    }
    for (const std::string& p : files.problems())
        std::fprintf(stderr, "orvane backtest: %s\n", p.c_str());
    if (adjust && !chosen.kept && load.failure == SourceFailure::None)
        if (auto none = adjustmentSourceProblem(load.market.adjustment, load.market.stocks.size()))
            failWith(kBadOption, *none);
    for (const std::string& p : chosen.market().problems)
        std::fprintf(stderr, "orvane backtest: %s\n", p.c_str());
    if (load.failure != SourceFailure::None) failWith(kUnreadableInput, load.message);
    return chosen;
}

PortfolioOptions portfolioOptionsOf(const BacktestArgs& a) {
    PortfolioOptions o = a.book;
    o.stopLoss = a.stopLossPercent / 100;
    o.takeProfit = a.takeProfitPercent / 100;
    o.riskFree = a.riskFreePercent / 100;
    if (auto bad = checkPortfolioOptions(o)) failWith(kBadOption, *bad);
    return o;
}

// The portfolio over the back-test's verdicts: its figures, and its files
// into --out.
void runPortfolioOf(const BacktestArgs& a, const Results& r) {
    const PortfolioOptions o = portfolioOptionsOf(a);
    const auto inGroup = groupFilter(r, a.group);
    if (!inGroup)
        failWith(kBadOption,
                 "--group " + a.group +
                     ": give all, rule (the verdicts meeting --rule), or a grouping and key "
                     "of summary.csv as trend:1001, model_b:yes, score_band:>=91 or "
                     "month:2024-03");
    const auto candidates = candidatesByDay(r, *inGroup);
    std::size_t signals = 0;
    for (const auto& day : candidates) signals += day.size();
    if (signals == 0)
        failWith(kRangeOutsideData, "the group " + a.group + " has no signal from " +
                                        r.options.from + " to " + r.options.to +
                                        ": nothing to buy");
    const PortfolioRun run = runPortfolio(r, candidates, o);
    const std::string table = portfolioTable(r, run, o, a.group);
    std::fwrite(table.data(), 1, table.size(), stdout);
    std::fflush(stdout);
    if (!a.out.empty()) {
        std::string error;
        if (!writePortfolioFolder(r, run, a.out, error)) failWith(kUnwritableOutput, error);
        std::fprintf(stderr, "wrote equity.csv and trades.csv into %s\n", a.out.c_str());
    }
}

void runBacktestCommand(const BacktestArgs& a) {
    const auto start = std::chrono::steady_clock::now();
    const Options options = optionsOf(a);
    if (a.portfolio) portfolioOptionsOf(a);  // a bad value fails before the work
    // An --out that cannot be written fails now, not after the whole market.
    if (!a.out.empty())
        if (auto bad = resultFolderProblem(a.out)) failWith(kUnwritableOutput, *bad);
    Options stored = options;
    stored.summaries = !a.portfolio;  // a portfolio prints no group
    if (!a.noStore)
        stored.verdictStore = verdictStorePathFor(!a.tree.empty()   ? a.tree
                                                  : !a.data.empty() ? a.data
                                                                    : a.csvDir);
    ChosenMarket chosen = loadMarket(a, stored.verdictStore, options.minHistory);
    const std::size_t problems = chosen.market().problems.size();
    const std::size_t refusedLines = chosen.market().refusedLines;
    const std::size_t exRightsDays = chosen.market().adjustment.exRightsDays;

    ProgressLine reading("reading"), analysing("analysing");
    const ProgressSink progress = [&](const Progress& p) {
        if (p.phase == Phase::Reading) reading.update(p.done, p.total);
        if (p.phase == Phase::Analysing) analysing.update(p.done, p.total);
    };
    const Run run = chosen.kept ? runBacktest(std::move(*chosen.kept), stored, progress)
                                : runBacktest(chosen.load.market, stored, progress);
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
    if (options.rule) {
        if (std::find(r.meetsRule.begin(), r.meetsRule.end(), true) == r.meetsRule.end())
            failWith(kRuleMetNothing, "the rule \"" + options.rule->name + "\" met none of the " +
                                          std::to_string(r.signals.size()) + " verdicts from " +
                                          r.options.from + " to " + r.options.to +
                                          ": nothing to report");
    }
    for (std::size_t i = problems; i < r.notes.size(); ++i)
        std::fprintf(stderr, "note: %s\n", r.notes[i].c_str());
    if (a.portfolio) {
        runPortfolioOf(a, r);
    } else {
        const std::string tables = backtestTables(r);
        std::fwrite(tables.data(), 1, tables.size(), stdout);
        std::fflush(stdout);
    }
    if (!a.out.empty() && !a.portfolio) {
        std::string error;
        if (!writeResultFolder(r, a.out, error)) failWith(kUnwritableOutput, error);
        std::fprintf(stderr, "wrote signals.csv, summary.csv and baseline.csv into %s\n",
                     a.out.c_str());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string refused =
        refusedLines ? ", " + std::to_string(refusedLines) + " day lines refused" : "";
    const std::string adjusted =
        exRightsDays ? ", " + std::to_string(exRightsDays) + " ex-rights days adjusted" : "";
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
    cmd->add_option("--commission", a->commissionPercent,
                    "the broker's commission, percent of the amount, both sides")
        ->capture_default_str();
    cmd->add_option("--min-commission", a->minCommission, "the least commission a trade, yuan")
        ->capture_default_str();
    cmd->add_flag("--no-costs", a->noCosts, "no costs at all: net returns equal gross");
    cmd->add_option("--trade-size", a->tradeSize,
                    "yuan of one trade, for the net returns of the signals")
        ->capture_default_str();
    cmd->add_flag("--portfolio", a->portfolio,
                  "simulate money: slots, lots, costs and the exit rules (see below)");
    cmd->add_option("--group", a->group,
                    "the portfolio's signals: all, rule (those meeting --rule), or GROUPING:KEY as "
                    "trend:1001, model_b:yes")
        ->capture_default_str();
    cmd->add_option("--capital", a->book.capital, "the portfolio's yuan at the start")
        ->capture_default_str();
    cmd->add_option("--slots", a->book.slots, "equal parts of the net value, one a position")
        ->capture_default_str();
    cmd->add_option("--hold", a->book.hold, "trading days after the signal day to sell at")
        ->capture_default_str();
    cmd->add_option("--stop-loss", a->stopLossPercent,
                    "sell after a close this many percent below the entry (0: none)")
        ->capture_default_str();
    cmd->add_option("--take-profit", a->takeProfitPercent,
                    "sell after a close this many percent above the entry (0: none)")
        ->capture_default_str();
    cmd->add_option("--rf", a->riskFreePercent, "the yearly risk-free rate in percent, for Sharpe")
        ->capture_default_str();
    std::string rules = kRules;
    rules.replace(rules.find("%COSTS%\n"), 8, costTableText(TradingCosts{}));
    cmd->add_option("--rule", a->rule,
                    "a group of the verdicts meeting a stock rule: its name or its text");
    cmd->footer(rules);
    cmd->callback([a] { runBacktestCommand(*a); });
}

}  // namespace orvane::cli
