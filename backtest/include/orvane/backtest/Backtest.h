#pragma once
// The back-test: what the engine's verdicts were worth in the past.
//
// For every trading day of a range and every stock of a market, the verdict
// as it would have been given during that day's session (the history lagging
// the quote by one day, exactly as the publisher gives each day its verdict),
// then what the stock did over the next trading days, grouped by trend code,
// by model B, by score band and by month, against the equal-weighted market
// over the same days.
//
// The rules (the command line's --help says the same):
// - Trading days are the market's: every date on which any stock of the
//   market has a line. Horizons count them from the signal day: horizon h
//   ends with the close of the h-th market day after it.
// - A stock without a trade on a day (no line that day, or a volume of 0) is
//   suspended: it gives no verdict that day, cannot be bought nor sold that
//   day, and its price holds at its last close until it trades again.
// - Entry at the next market day's open (no look-ahead: the verdict is known
//   at the signal day's close), or at the signal day's close. An entry on a
//   suspended day is not filled; an entry at or above the limit-up price is
//   flagged (no fill is likely) and left out with `tradableOnly`. The limits
//   follow the board and the date (market/PriceLimits.h).
// - The exit: a share bought on a day cannot be sold that day (T+1), so with
//   entry at the next open horizon 1 ends at the close of the day after the
//   entry day. A stock cannot be sold on a suspended day nor at a close at
//   its limit down: the exit then moves to the next day it can be sold at
//   its close, and such exits are counted.
// - Net returns: the gross return after buying and selling a trade of
//   `tradeSize` yuan with the costs of the day (TradingCosts.h).
// - A horizon whose end lies beyond the stock's last line is incomplete: such
//   signals are counted apart and never mixed into the figures.
// - The baseline of a signal day and horizon is the mean return of every
//   stock of the market entered by the same rule on that day (verdict or not).
//
// Everything here is plain data; a run may go on a worker thread, reports its
// progress through a callback and stops early on a stop token.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "orvane/backtest/PriceDay.h"
#include "orvane/backtest/TradingCosts.h"
#include "orvane/market/MarketAdjustment.h"
#include "orvane/market/StockRule.h"

namespace orvane {
class SectorGroups;
}
#include "orvane/backtest/DayBlockBootstrap.h"

namespace orvane::backtest {

/// How many horizons a run measures at most, and the longest one.
inline constexpr std::size_t kMaxHorizons = 6;
inline constexpr int kLongestHorizon = 250;
/// Days of history a verdict needs before its day (the engine's longest window).
inline constexpr int kDefaultMinHistory = 300;

// ---------------------------------------------------------------------------
// The market

/// One stock: its code, its name (empty when unknown: ST shares are known by
/// it) and its history text as the data server publishes it (header, then
/// newest day first).
struct MarketStock {
    std::string code;
    std::string name;
    std::string history;
    /// The history's days when they were read beside it (priceDaysOf,
    /// PriceDays.h); empty: read from the history.
    std::vector<PriceDay> prices{};
};

struct Market {
    std::vector<MarketStock> stocks;
    /// What was skipped while reading, one line each (file and reason).
    std::vector<std::string> problems;
    std::size_t refusedLines = 0;          // CSV day lines refused as impossible
    MarketAdjustmentSummary adjustment{};  // when the daily files were adjusted
    /// A key of the files the market was read from (sourceFilesKey,
    /// MarketSource.h), which the verdict store is then keyed by, so that a
    /// later run of the same files takes the market from the store without
    /// reading them; 0: the store is keyed by the stocks' history texts.
    std::uint64_t sourceKey = 0;
};

// ---------------------------------------------------------------------------
// Options

enum class EntryPrice : std::uint8_t {
    NextOpen,     // the open of the market day after the signal day
    SignalClose,  // the signal day's close
};

/// A user's stock rule as a group beside the trend codes: the signals whose
/// day meets it (RuleGroup.h says which facts a signal gives the rule).
struct RuleChoice {
    std::string name;
    StockRule rule;
    /// The sector groups a sector condition reads; null: such conditions are
    /// undecided, and an undecided signal is not in the group.
    const SectorGroups* sectors = nullptr;
};

struct Options {
    /// Signal days, "yyyy-MM-dd", both ends included; empty: the data's
    /// first or last day.
    std::string from, to;
    /// Trading days after the signal day, 1 to kLongestHorizon, at most
    /// kMaxHorizons of them, each once.
    std::vector<int> horizons{5, 10, 20};
    EntryPrice entry = EntryPrice::NextOpen;
    /// Leave entries at the limit-up price out of every figure.
    bool tradableOnly = false;
    /// Worker threads; 0: one per processor.
    int jobs = 0;
    int minHistory = kDefaultMinHistory;
    TradingCosts costs;
    /// The yuan of one trade, for the net returns (the minimum commission
    /// weighs on small trades).
    double tradeSize = 20000;
    /// A rule summed up as a group of its own (Grouping::Rule).
    std::optional<RuleChoice> rule;
    /// Whether the groups are summed up (Results::groups); a portfolio alone
    /// needs the signals and the baseline only.
    bool summaries = true;
    /// The bootstrap of the groups' mean excess: its resamples, and the seed
    /// they are drawn from (the same seed, the same intervals).
    std::size_t resamples = kDefaultResamples;
    std::uint64_t seed = 1;
    /// Where the market's verdicts are kept between runs
    /// (verdictStorePathFor, MarketVerdicts.h); empty: worked out for this
    /// run alone.
    std::filesystem::path verdictStore;
};

/// What is wrong with the options, or nothing.
std::optional<std::string> checkOptions(const Options& options);

// ---------------------------------------------------------------------------
// Progress

enum class Phase : std::uint8_t { Reading, Analysing, Summarising };

struct Progress {
    Phase phase = Phase::Reading;
    std::size_t done = 0, total = 0;  // stocks (Summarising: 0 of 1, then 1 of 1)
};

/// Called from the run's threads, one call at a time.
using ProgressSink = std::function<void(const Progress&)>;

// ---------------------------------------------------------------------------
// Results

enum class Entry : std::uint8_t {
    Filled,
    LimitUp,    // filled in these figures, but at the limit-up price
    Suspended,  // no trade on the entry day: not filled
    NoLaterDay  // the data ends before the entry day
};

inline constexpr float kNoFigure = std::numeric_limits<float>::quiet_NaN();

/// One horizon of one entry; kNoFigure when the horizon is not complete or
/// the entry was not filled. Fractions: 0.05 is 5%.
struct Outcome {
    float ret = kNoFigure;       // exit close / entry price - 1
    float excess = kNoFigure;    // ret less the market's over the same days
    float drawdown = kNoFigure;  // lowest low from entry to exit / entry - 1, at most 0
    float net = kNoFigure;       // ret after the trade's costs
};

/// One verdict of one stock on one day, and what followed.
struct Signal {
    std::uint32_t stock = 0;  // index into Results::stocks
    std::uint32_t day = 0;    // index into Results::days
    std::int32_t trend = 0;
    std::int32_t score = 0;
    bool modelB = false;
    std::int8_t buyA = -1, buyB = -1;  // -1: the model-B check did not run
    // The day as the day's results give it to a rule: the 5- and 10-day
    // gains and the move from the previous close in percent, the close.
    float gain5 = kNoFigure, gain10 = kNoFigure, change = kNoFigure, close = kNoFigure;
    Entry entry = Entry::Filled;
    /// Bit h: the exit of horizon index h moved past a day it could not be
    /// sold on (suspended, or closing at the limit down).
    std::uint8_t delayedExits = 0;
    /// Between the entry and the last exit lies a day opening below the
    /// limit down: an unadjusted ex-rights day, most likely.
    bool spansExRightsGap = false;
    float entryPrice = kNoFigure;
    std::array<Outcome, kMaxHorizons> outcomes{};  // as Options::horizons
};

enum class Grouping : std::uint8_t { All, Trend, ModelB, ScoreBand, Month, Rule };

/// A group's figures at one horizon, over its signals with a complete horizon
/// (kNoFigure when it has none). Entries not filled, and with tradableOnly
/// those at the limit up, are in no figure.
struct HorizonFigures {
    int horizon = 0;
    std::size_t signals = 0;
    std::size_t incomplete = 0;  // signals whose horizon the data does not cover
    double mean = 0, median = 0;
    double positiveShare = 0;      // of the signals, those with a return above 0
    double meanExcess = 0;         // over the market baseline
    double worstDrawdown = 0;      // the lowest drawdown of any signal
    double meanNet = 0;            // the mean return after costs
    std::size_t delayedExits = 0;  // of the signals, those whose exit moved
    /// The mean excess's two-sided 95% interval and p-value, from a block
    /// bootstrap over the group's signal days (DayBlockBootstrap.h);
    /// kNoFigure when its days are too few for blocks of `blockDays`.
    double excessLow = kNoFigure, excessHigh = kNoFigure, excessP = kNoFigure;
    std::size_t blockDays = 0;
    /// Whether the interval lies wholly on one side of 0.
    bool excessSignificant() const { return excessLow > 0 || excessHigh < 0; }
};

/// A group's signals of one day: their count and mean figures per horizon
/// (kNoFigure where none had the horizon complete).
struct GroupDay {
    std::uint32_t day = 0;
    std::uint32_t signals = 0;
    std::array<float, kMaxHorizons> meanReturn{}, meanExcess{};
};

struct GroupSummary {
    Grouping grouping = Grouping::All;
    std::string key;  // "all"; the trend code; "yes"/"no"; "<91"/">=91"; "yyyy-MM"; the rule's name
    std::string label;  // for people: "accelerating rise" (TrendNames.h), "score 91 and above", ...
    std::size_t verdicts = 0;
    std::size_t limitUp = 0;    // entries at the limit-up price
    std::size_t notFilled = 0;  // entries on a suspended day
    std::vector<HorizonFigures> horizons;
    std::vector<GroupDay> days;  // the days with signals, oldest first
};

/// The equal-weighted market on one day of the range.
struct BaselineDay {
    std::uint32_t day = 0;
    std::uint32_t traded = 0;  // stocks that traded that day
    double dailyReturn = 0;    // mean close-to-close move of those with an earlier close
    double level = 1;          // the moves compounded from 1 on the range's first day
    /// The mean return of every stock entered by the run's rule on this day,
    /// per horizon (kNoFigure: none complete).
    std::array<double, kMaxHorizons> forward{};
};

/// The market's prices as the run read them, kept for the portfolio.
struct MarketPrices;
struct KeptMarket;

struct StockInfo {
    std::string code, name;
};

struct Results {
    Options options;                // as run: from and to filled in
    std::vector<StockInfo> stocks;  // the market's stocks that could be read
    std::vector<std::string> days;  // the market's trading days, "yyyy-MM-dd"
    std::vector<Signal> signals;    // by stock, then by day
    std::vector<GroupSummary> groups;
    /// By signal, whether it meets Options::rule (empty without a rule).
    std::vector<bool> meetsRule;
    std::vector<BaselineDay> baseline;
    /// Notes on the data: stocks skipped, missing days, stocks too short,
    /// signals over a gap that looks like an unadjusted ex-rights day.
    std::vector<std::string> notes;
    /// As `stocks`, with the calendar `days`.
    std::shared_ptr<const MarketPrices> prices;
    /// Whether the verdicts were read from Options::verdictStore.
    bool verdictsFromStore = false;
};

enum class Failure : std::uint8_t {
    None,
    BadOptions,        // checkOptions says why
    NoStocks,          // no stock of the market has readable prices
    RangeOutsideData,  // no signal day in the range
    Stopped            // the stop token was triggered
};

struct Run {
    Failure failure = Failure::None;
    std::string message;  // what went wrong and what to do about it
    Results results;      // complete when failure is None
};

/// The back-test of a market. With Options::verdictStore, a store that
/// holds this market gives its prices and verdicts; else they are worked out
/// and the store replaced.
Run runBacktest(const Market& market, const Options& options, const ProgressSink& progress = {},
                std::stop_token stop = {});

/// The back-test of the market a verdict store kept (MarketVerdicts.h): its
/// prices and verdicts as kept, nothing read or worked out again.
Run runBacktest(KeptMarket kept, const Options& options, const ProgressSink& progress = {},
                std::stop_token stop = {});

// ---------------------------------------------------------------------------
// Reading the results

/// The signal's group under a grouping (the GroupSummary key; under Rule the
/// rule's name, whether or not the signal meets it).
std::string groupKey(const Results& results, const Signal& signal, Grouping grouping);

/// The complete returns at horizon index `h` by group key, in signal order:
/// the distribution of, say, the 10-day returns per trend code. Signals the
/// figures leave out (not filled, and limit-up with tradableOnly) are left out.
std::map<std::string, std::vector<float>> returnsByGroup(const Results& results, Grouping grouping,
                                                         std::size_t h);

/// The running sum of a group's daily mean excess return at horizon index
/// `h`, one point a day with figures: (day, cumulative excess).
std::vector<std::pair<std::uint32_t, double>> cumulativeExcess(const GroupSummary& group,
                                                               std::size_t h);

}  // namespace orvane::backtest
