// The back-test over made-up markets: forward returns, the baseline and the
// group figures worked out by hand; no figure of a signal day moved by any
// price after its entry; the same results on any number of threads.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "TempDataDir.h"
#include "orvane/backtest/Backtest.h"
#include "orvane/backtest/MarketSource.h"
#include "orvane/backtest/MarketVerdicts.h"
#include "orvane/backtest/Portfolio.h"
#include "orvane/backtest/ResultFiles.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/CsvHistory.h"

using namespace orvane;
using namespace orvane::backtest;

namespace {

// A day as (date index, open, low, close); volume 1000.
struct Day {
    int date;
    double open, low, close, volume = 1000;
};

// Day index i is the i-th calendar day from 2024-03-01.
std::string dateOf(int index) {
    using namespace std::chrono;
    const year_month_day d{sys_days{2024y / March / 1} + days{index}};
    return format("%04d-%02u-%02u", int(d.year()), unsigned(d.month()), unsigned(d.day()));
}

MarketStock stock(std::string code, const std::vector<Day>& days, std::string name = "") {
    std::vector<DailyBar> bars;
    for (const Day& d : days)
        bars.push_back(
            {dateOf(d.date), d.open, std::max(d.open, d.close), d.low, d.close, d.volume});
    return {std::move(code), std::move(name), historyTextOf(bars)};
}

const Signal& signalOn(const Results& r, const std::string& code, int date) {
    for (const Signal& s : r.signals)
        if (r.stocks[s.stock].code == code && r.days[s.day] == dateOf(date)) return s;
    throw std::runtime_error("no signal of " + code + " on " + dateOf(date));
}

const GroupSummary& group(const Results& r, Grouping grouping, const std::string& key) {
    for (const GroupSummary& g : r.groups)
        if (g.grouping == grouping && g.key == key) return g;
    throw std::runtime_error("no group " + key);
}

Results run(const Market& market, Options options) {
    Run r = runBacktest(market, options);
    EXPECT_EQ(r.failure, Failure::None) << r.message;
    return r.results;
}

// Three stocks over six days: A (10% board) enters at the limit up once,
// B misses day 4 (suspended), C (20% board) ends after day 3.
Market handMadeMarket() {
    return {
        {stock("600001", {{0, 10, 10, 10},
                          {1, 10, 10, 10},
                          {2, 10, 10, 10},
                          {3, 11, 10, 12},
                          {4, 12, 9, 9},
                          {5, 9, 9, 10}}),
         stock("000002", {{0, 5, 5, 5}, {1, 5, 5, 5}, {2, 5, 5, 5}, {3, 5, 5, 5}, {5, 6, 4, 4}}),
         stock("300003", {{0, 20, 20, 20}, {1, 20, 20, 20}, {2, 20, 20, 20}, {3, 23, 22, 24}})},
        {}};
}

Options handMadeOptions() {
    Options o;
    o.horizons = {1, 2};
    o.minHistory = 2;
    o.jobs = 2;
    return o;
}

}  // namespace

TEST(Backtest, ForwardReturnsBaselineAndGroupsWorkedOutByHand) {
    const Results r = run(handMadeMarket(), handMadeOptions());
    ASSERT_EQ(r.options.from, dateOf(2));  // the first day with two days before it
    EXPECT_EQ(r.signals.size(), 9u);

    // A on day 2: in at day 3's open 11 (+10%: limit up); day 4 closes at the
    // limit down (9 after 12), so both horizons sell at day 5's close 10.
    const Signal& a2 = signalOn(r, "600001", 2);
    EXPECT_EQ(a2.entry, Entry::LimitUp);
    EXPECT_FLOAT_EQ(a2.entryPrice, 11);
    for (std::size_t h : {0, 1}) {
        EXPECT_FLOAT_EQ(a2.outcomes[h].ret, 10.0 / 11 - 1);
        EXPECT_FLOAT_EQ(a2.outcomes[h].drawdown, 9.0 / 11 - 1);
    }
    EXPECT_EQ(a2.delayedExits, 0b11);
    // A on day 3: in at day 4's open 12, not sold that day (T+1): day 5's
    // close for horizon 1 too, and no exit counted as moved.
    const Signal& a3 = signalOn(r, "600001", 3);
    EXPECT_FLOAT_EQ(a3.outcomes[0].ret, 10.0 / 12 - 1);
    EXPECT_FLOAT_EQ(a3.outcomes[0].drawdown, -0.25);
    EXPECT_EQ(a3.delayedExits, 0);
    // A on day 4: the day after its entry lies beyond the data; day 5: no later day.
    EXPECT_TRUE(std::isnan(signalOn(r, "600001", 4).outcomes[0].ret));
    EXPECT_EQ(signalOn(r, "600001", 5).entry, Entry::NoLaterDay);
    // B: suspended on day 4, at the limit down on day 5: never sold; the
    // entry on day 4 is not filled.
    EXPECT_TRUE(std::isnan(signalOn(r, "000002", 2).outcomes[0].ret));
    EXPECT_EQ(signalOn(r, "000002", 3).entry, Entry::Suspended);
    EXPECT_THROW(signalOn(r, "000002", 4), std::runtime_error);
    // C: +15% is no limit up on its board; its data ends before the exit.
    const Signal& c2 = signalOn(r, "300003", 2);
    EXPECT_EQ(c2.entry, Entry::Filled);
    EXPECT_TRUE(std::isnan(c2.outcomes[0].ret));

    // The market: A alone completes a horizon, on days 2 and 3.
    ASSERT_EQ(r.baseline.size(), 4u);
    EXPECT_NEAR(r.baseline[0].forward[0], 10.0 / 11 - 1, 1e-7);
    EXPECT_NEAR(r.baseline[1].forward[1], 10.0 / 12 - 1, 1e-7);
    EXPECT_TRUE(std::isnan(r.baseline[2].forward[0]));
    EXPECT_NEAR(r.baseline[1].dailyReturn, (0.2 + 0 + 0.2) / 3, 1e-12);
    EXPECT_NEAR(r.baseline[3].level, (1 + 0.4 / 3) * 0.75 * (1 + ((10.0 / 9 - 1) - 0.2) / 2),
                1e-12);
    EXPECT_NEAR(a2.outcomes[0].excess, 0, 1e-6);

    const GroupSummary& all = group(r, Grouping::All, "all");
    EXPECT_EQ(all.verdicts, 9u);
    EXPECT_EQ(all.limitUp, 1u);
    EXPECT_EQ(all.notFilled, 1u);
    const HorizonFigures& h1 = all.horizons[0];
    EXPECT_EQ(h1.signals, 2u);
    EXPECT_EQ(h1.incomplete, 6u);
    EXPECT_EQ(h1.delayedExits, 1u);
    EXPECT_NEAR(h1.mean, ((10.0 / 11 - 1) + (10.0 / 12 - 1)) / 2, 1e-7);
    EXPECT_NEAR(h1.median, h1.mean, 1e-7);
    EXPECT_DOUBLE_EQ(h1.positiveShare, 0);
    EXPECT_NEAR(h1.worstDrawdown, -0.25, 1e-7);
    // Net: 20,000 yuan in at 11 and 12 on 2024-03-04/05, out on 2024-03-06;
    // commission 5 yuan each way (the minimum), transfer fee 0.001% each
    // way, stamp duty 0.05% on the sale.
    auto net = [](double sold) {
        return (sold - 5 - sold * 0.00001 - sold * 0.0005) / (20000 + 5 + 0.2) - 1;
    };
    EXPECT_NEAR(a2.outcomes[0].net, net(20000 * 10.0 / 11), 1e-6);
    EXPECT_NEAR(h1.meanNet, (net(20000 * 10.0 / 11) + net(20000 * 10.0 / 12)) / 2, 1e-6);
    EXPECT_NEAR(cumulativeExcess(all, 0).back().second, 0.0, 1e-6);  // all less its own mean

    // Progress for each stock read and analysed; a stop ends the run.
    std::map<Phase, std::size_t> calls;
    runBacktest(handMadeMarket(), handMadeOptions(), [&](const Progress& p) { ++calls[p.phase]; });
    EXPECT_EQ(calls, (std::map<Phase, std::size_t>{
                         {Phase::Reading, 3}, {Phase::Analysing, 3}, {Phase::Summarising, 2}}));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(runBacktest(handMadeMarket(), handMadeOptions(), {}, stop.get_token()).failure,
              Failure::Stopped);

    // Leaving the limit-up entry out takes it from the figures and the market.
    Options tradable = handMadeOptions();
    tradable.tradableOnly = true;
    const Results t = run(handMadeMarket(), tradable);
    EXPECT_EQ(group(t, Grouping::All, "all").horizons[0].signals, 1u);
    EXPECT_TRUE(std::isnan(t.baseline[0].forward[0]));
    EXPECT_EQ(returnsByGroup(t, Grouping::All, 0).at("all").size(), 1u);

    // Entry at the signal day's close: A's day 3 closes +20% (limit up on its
    // board); horizon 1 ends on day 4, at the limit down: sold on day 5.
    Options atClose = handMadeOptions();
    atClose.entry = EntryPrice::SignalClose;
    const Results c = run(handMadeMarket(), atClose);
    EXPECT_EQ(signalOn(c, "600001", 3).entry, Entry::LimitUp);
    EXPECT_FLOAT_EQ(signalOn(c, "600001", 3).outcomes[0].ret, 10.0 / 12 - 1);
    EXPECT_FLOAT_EQ(signalOn(c, "600001", 2).outcomes[0].ret, 12.0 / 10 - 1);
    EXPECT_TRUE(std::isnan(signalOn(c, "000002", 3).outcomes[1].ret));
}

TEST(Backtest, LimitUpByBoardNameAndRoundedLimitPrice) {
    // The entry open after a flat close, per stock: at or above the limit or not.
    auto entryAfter = [](std::string code, std::string name, double close, double open) {
        Market m{{stock(code,
                        {{0, close, close, close}, {1, close, close, close}, {2, open, open, open}},
                        name)},
                 {}};
        Options o = handMadeOptions();
        o.horizons = {1};
        o.minHistory = 1;
        const Results r = run(m, o);
        return signalOn(r, r.stocks[0].code, 1).entry;
    };
    EXPECT_EQ(entryAfter("600010", "", 10, 10.99), Entry::LimitUp);  // +9.9%
    EXPECT_EQ(entryAfter("600010", "", 10, 10.98), Entry::Filled);
    EXPECT_EQ(entryAfter("600010", "", 2.03, 2.23), Entry::LimitUp);  // 2.233 rounds to 2.23
    EXPECT_EQ(entryAfter("688010", "", 10, 11.98), Entry::Filled);
    EXPECT_EQ(entryAfter("301010", "", 10, 12), Entry::LimitUp);
    EXPECT_EQ(entryAfter("600010", "*ST某某", 10, 10.5), Entry::LimitUp);
    EXPECT_EQ(entryAfter("600010", "", 10, 10.5), Entry::Filled);
}

TEST(Backtest, ExitRulesTPlusOneSuspensionAndLimitDown) {
    // The stock is bought after day 1 (at day 2's open 10, or at day 1's
    // close 10); a flat stock keeps the calendar when it has no line.
    auto outcomes = [](std::vector<Day> days, EntryPrice entry, std::string code = "600010") {
        std::vector<Day> flat;
        for (int d = 0; d < 7; ++d) flat.push_back({d, 10, 10, 10});
        Options o = handMadeOptions();
        o.horizons = {1, 2};
        o.minHistory = 1;
        o.entry = entry;
        const Results r = run({{stock(code, days), stock("600099", flat)}, {}}, o);
        return signalOn(r, code, 1);
    };
    const std::vector<Day> plain{{0, 10, 10, 10}, {1, 10, 10, 10}, {2, 10, 10, 11},
                                 {3, 11, 11, 12}, {4, 12, 12, 12}, {5, 12, 12, 13}};
    // T+1: entry at day 2's open, horizon 1 sold at day 3's close, as horizon 2.
    Signal s = outcomes(plain, EntryPrice::NextOpen);
    EXPECT_FLOAT_EQ(s.outcomes[0].ret, 0.2);
    EXPECT_FLOAT_EQ(s.outcomes[1].ret, 0.2);
    EXPECT_EQ(s.delayedExits, 0);
    // At the close, horizon 1 ends on day 2.
    EXPECT_FLOAT_EQ(outcomes(plain, EntryPrice::SignalClose).outcomes[0].ret, 0.1);

    // Day 3 closes at the limit down (9.9 after 11): sold at day 4's close.
    std::vector<Day> limitDown = plain;
    limitDown[3] = {3, 10, 9.9, 9.9};
    s = outcomes(limitDown, EntryPrice::NextOpen);
    EXPECT_FLOAT_EQ(s.outcomes[0].ret, 0.2);
    EXPECT_FLOAT_EQ(s.outcomes[0].drawdown, -0.01);
    EXPECT_EQ(s.delayedExits, 0b11);
    // 9.92 is above it (and more than 0.1 point from -10%): sold there.
    limitDown[3] = {3, 10, 9.92, 9.92};
    EXPECT_FLOAT_EQ(outcomes(limitDown, EntryPrice::NextOpen).outcomes[0].ret, -0.008);
    // ChiNext moves 20% in 2024: 9.9 after 11 is a sale.
    limitDown[3] = {3, 10, 9.9, 9.9};
    EXPECT_FLOAT_EQ(outcomes(limitDown, EntryPrice::NextOpen, "300010").outcomes[0].ret, -0.01);

    // No line on day 3 (suspended): sold at day 4's close; at the close of
    // day 1, horizon 2 moves the same way.
    std::vector<Day> suspended = plain;
    suspended.erase(suspended.begin() + 3);
    s = outcomes(suspended, EntryPrice::NextOpen);
    EXPECT_FLOAT_EQ(s.outcomes[0].ret, 0.2);
    EXPECT_EQ(s.delayedExits, 0b11);
    s = outcomes(suspended, EntryPrice::SignalClose);
    EXPECT_FLOAT_EQ(s.outcomes[0].ret, 0.1);
    EXPECT_FLOAT_EQ(s.outcomes[1].ret, 0.2);
    EXPECT_EQ(s.delayedExits, 0b10);
    // Suspended to the end of the data: never sold, incomplete.
    suspended.resize(3);
    EXPECT_TRUE(std::isnan(outcomes(suspended, EntryPrice::NextOpen).outcomes[0].ret));
}

TEST(Backtest, ListingDaysAndExRightsGapsFollowTheLimitTable) {
    // A main-board stock listed on day 3 of the data (2024: free for five
    // days) opens +30% on day 5: no limit up; an older stock has one.
    const std::vector<Day> flat{{0, 10, 10, 10}, {1, 10, 10, 10}, {2, 10, 10, 10}, {3, 10, 10, 10},
                                {4, 10, 10, 10}, {5, 13, 13, 13}, {6, 13, 13, 13}};
    Options o = handMadeOptions();
    o.minHistory = 1;
    o.horizons = {1};
    const Results r =
        run({{stock("600020", {flat.begin() + 3, flat.end()}), stock("600021", flat)}, {}}, o);
    EXPECT_EQ(signalOn(r, "600020", 4).entry, Entry::Filled);
    EXPECT_EQ(signalOn(r, "600021", 4).entry, Entry::LimitUp);
    EXPECT_TRUE(r.notes.empty());

    // Day 3 opens at half the close before: signals held over it are noted,
    // one entered at that open is not.
    std::vector<Day> split = flat;
    for (std::size_t d = 3; d < split.size(); ++d) split[d] = {int(d), 5, 5, 5};
    const Results g = run({{stock("600022", split)}, {}}, o);
    EXPECT_TRUE(signalOn(g, "600022", 1).spansExRightsGap);
    EXPECT_FALSE(signalOn(g, "600022", 2).spansExRightsGap);
    ASSERT_FALSE(g.notes.empty());
    EXPECT_TRUE(g.notes.back().starts_with("1 signals hold a stock over a day that opens below"));
}

namespace {

// Four stocks on a seeded random walk over `days` days, one of them with a
// suspension and a zero-volume day.
Market walkMarket(int days, unsigned seed) {
    std::mt19937 rng(seed);
    Market m;
    for (const char* code : {"600100", "000200", "300300", "688400"}) {
        std::vector<Day> rows;
        double price = 8 + rng() % 20;
        for (int d = 0; d < days; ++d) {
            const double open = price * (1 + (static_cast<int>(rng() % 41) - 20) / 1000.0);
            price = std::max(1.0, price * (1 + (static_cast<int>(rng() % 121) - 60) / 1000.0));
            if (code[0] == '0' && d % 17 == 5) continue;
            rows.push_back({d, open, std::min(open, price) * 0.98, price,
                            code[0] == '0' && d % 23 == 9 ? 0.0 : 1000.0});
        }
        m.stocks.push_back(stock(code, rows));
    }
    return m;
}

// The stock with every price after the entry following the signal on
// `lastKeptDate` changed (with `keepNextOpen` the next line's open is the entry).
MarketStock withPricesAfter(const MarketStock& s, const std::string& lastKeptDate,
                            bool keepNextOpen) {
    std::istringstream in(s.history);
    std::string line, out;
    bool nextOpenKept = !keepNextOpen;
    std::vector<std::string> lines;
    while (std::getline(in, line)) lines.push_back(line);
    for (std::size_t i = lines.size(); i-- > 1;) {
        std::string& l = lines[i];
        if (l.substr(0, 10) <= lastKeptDate) continue;
        const std::size_t open = l.find(',') + 1, high = l.find(',', open) + 1;
        if (!nextOpenKept) {
            nextOpenKept = true;  // the entry day: its open stays
            l = l.substr(0, high) + "99.00,0.50,77.00,5,77.00";
        } else {
            l = l.substr(0, open) + "55.00,99.00,0.50,77.00,5,77.00";
        }
    }
    for (const std::string& l : lines) out += l + "\n";
    return {s.code, s.name, out};
}

}  // namespace

TEST(Backtest, NoFigureOfASignalDayUsesAPriceAfterTheEntry) {
    const Market market = walkMarket(25, 7);
    for (EntryPrice entry : {EntryPrice::NextOpen, EntryPrice::SignalClose}) {
        Options o = handMadeOptions();
        o.entry = entry;
        o.minHistory = 8;
        const Results before = run(market, o);
        for (int cut : {12, 18}) {
            Market changed;
            for (const MarketStock& s : market.stocks)
                changed.stocks.push_back(
                    withPricesAfter(s, dateOf(cut), entry == EntryPrice::NextOpen));
            const Results after = run(changed, o);
            std::size_t compared = 0;
            for (const Signal& s : before.signals) {
                if (s.day > static_cast<std::uint32_t>(cut)) continue;
                const Signal& t = signalOn(after, before.stocks[s.stock].code, int(s.day));
                EXPECT_EQ(std::tie(s.trend, s.score, s.modelB, s.buyA, s.buyB, s.entry),
                          std::tie(t.trend, t.score, t.modelB, t.buyA, t.buyB, t.entry))
                    << before.stocks[s.stock].code << " day " << s.day;
                EXPECT_TRUE(s.entryPrice == t.entryPrice ||
                            (std::isnan(s.entryPrice) && std::isnan(t.entryPrice)));
                ++compared;
            }
            EXPECT_GT(compared, 10u);
        }
    }
}

std::string resultFiles(const Results& r) {
    std::ostringstream out;
    writeSummaryCsv(r, out);
    writeSignalsCsv(r, out);
    writeBaselineCsv(r, out);
    return out.str();
}

TEST(Backtest, SameResultsWhateverTheNumberOfThreads) {
    const Market market = walkMarket(60, 11);
    auto files = [&](int jobs) {
        Options o = handMadeOptions();
        o.horizons = {3, 1, 10};
        o.minHistory = 20;
        o.jobs = jobs;
        return resultFiles(run(market, o));
    };
    const std::string one = files(1);
    EXPECT_GT(one.size(), 5000u);
    EXPECT_EQ(files(3), one);
}

TEST(Backtest, ARuleIsAGroupOfTheSignalsWhoseDayMeetsIt) {
    Options o = handMadeOptions();
    // A's day 3 closes at 12 after 10 (+20%): in at day 4's open 12; day 4
    // closes at the limit down (9), so it sells at day 5's close 10.
    o.rule =
        RuleChoice{"jump", std::get<StockRule>(parseStockRule("board = main and change > 15"))};
    const Results r = run(handMadeMarket(), o);
    const Signal& a3 = signalOn(r, "600001", 3);
    EXPECT_FLOAT_EQ(a3.close, 12);
    EXPECT_FLOAT_EQ(a3.change, 20);
    ASSERT_EQ(r.meetsRule.size(), r.signals.size());
    EXPECT_EQ(std::count(r.meetsRule.begin(), r.meetsRule.end(), true), 1);
    EXPECT_TRUE(r.meetsRule[static_cast<std::size_t>(&a3 - r.signals.data())]);
    ASSERT_GE(r.groups.size(), 2u);
    const GroupSummary& jump = r.groups[1];  // beside every verdict
    EXPECT_EQ(jump.grouping, Grouping::Rule);
    EXPECT_EQ(jump.key, "jump");
    EXPECT_EQ(jump.verdicts, 1u);
    EXPECT_FLOAT_EQ(jump.horizons[0].mean, 10.0 / 12 - 1);
    EXPECT_EQ(returnsByGroup(r, Grouping::Rule, 0).at("jump").size(), 1u);
    // The same verdicts are the portfolio's buy list.
    const auto ruleFilter = groupFilter(r, "rule");
    ASSERT_TRUE(ruleFilter);
    for (const Signal& s : r.signals) EXPECT_EQ((*ruleFilter)(s), &s == &a3);

    // limitup is the signal's own entry: A's day 2, entered at day 3's open 11.
    o.rule = RuleChoice{"up", std::get<StockRule>(parseStockRule("limitup"))};
    const Results withUp = run(handMadeMarket(), o);
    const GroupSummary& up = withUp.groups[1];
    EXPECT_EQ(up.verdicts, 1u);
    EXPECT_EQ(up.limitUp, 1u);

    // A rule no signal meets is an empty group, never a figure.
    o.rule = RuleChoice{"none", std::get<StockRule>(parseStockRule("score >= 1000"))};
    const Results withNone = run(handMadeMarket(), o);
    const GroupSummary& none = withNone.groups[1];
    EXPECT_EQ(none.verdicts, 0u);
    EXPECT_EQ(none.horizons[0].signals, 0u);
    EXPECT_TRUE(std::isnan(none.horizons[0].mean));
}

TEST(Backtest, StoredVerdictsGiveTheSameResultsUntilTheDataChangesOrTheStoreIsDamaged) {
    const test::TempDataDir dir;
    Market market = walkMarket(60, 11);
    Options plain = handMadeOptions();
    plain.horizons = {3, 10};
    plain.minHistory = 20;
    Options stored = plain;
    stored.verdictStore = dir.path() / "market.verdicts";
    // The results of a run with the store, and whether it read the store.
    auto withStore = [&](bool expectRead) {
        const backtest::Run r = runBacktest(market, stored);
        EXPECT_EQ(r.results.verdictsFromStore, expectRead);
        return resultFiles(r.results);
    };
    const std::string fresh = resultFiles(run(market, plain));
    EXPECT_EQ(withStore(false), fresh);
    EXPECT_EQ(withStore(true), fresh);
    // Another range reads the same store.
    plain.from = stored.from = dateOf(40);
    EXPECT_EQ(withStore(true), resultFiles(run(market, plain)));

    // One volume changed: the store is of other data.
    std::string& history = market.stocks[2].history;
    history[history.rfind(",1000,") + 4] = '1';
    EXPECT_EQ(withStore(false), resultFiles(run(market, plain)));
    EXPECT_EQ(withStore(true), resultFiles(run(market, plain)));

    // A damaged or cut store is worked out again and replaced.
    std::string bytes = *readFile(stored.verdictStore);
    bytes[bytes.size() / 2] ^= 1;
    ASSERT_TRUE(writeFileAtomically(stored.verdictStore, bytes));
    EXPECT_EQ(withStore(false), resultFiles(run(market, plain)));
    ASSERT_TRUE(writeFileAtomically(stored.verdictStore, bytes.substr(0, bytes.size() - 9)));
    withStore(false);
    withStore(true);

    // A store that cannot be written is a note; the run goes on without it.
    stored.verdictStore = stored.verdictStore / "under-a-file.verdicts";
    const std::string unstored = withStore(false);
    EXPECT_EQ(unstored, resultFiles(run(market, plain)));
    const auto notes = runBacktest(market, stored).results.notes;
    EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [](const std::string& n) {
        return n.starts_with("the verdicts could not be kept: ");
    }));
}

// A CSV folder's prices read beside its history texts are the ones the texts
// give: the same results, with prices on rounding ties, volumes that round
// to nothing and a file whose days come out of order.
TEST(Backtest, PricesReadBesideTheHistoriesAreTheHistoriesOwn) {
    const test::TempDataDir dir;
    const std::filesystem::path csv = dir.path() / "daily", list = dir.path() / "list.csv";
    std::filesystem::create_directories(csv);
    std::ofstream(list) << "symbol,name\n600001,甲\n000002,乙\n300003,丙\n";
    std::mt19937 random(3);
    for (const char* code : {"600001", "000002", "300003"}) {
        std::string text = "date,open,close,high,low,volume\n";
        for (int d = 0; d < 40; ++d) {
            // Three decimals, a tie in two of every ten.
            const double open = 10 + static_cast<int>(random() % 2000) / 1000.0;
            const double close = 10 + static_cast<int>(random() % 400) * 5 / 1000.0;
            const double volume = static_cast<int>(random() % 4) * 0.5;
            text += format("%s,%.3f,%.3f,%.3f,%.3f,%.1f\n", dateOf(d).c_str(), open, close,
                           std::max(open, close) + 0.015, std::min(open, close) - 0.005, volume);
        }
        if (code[0] == '3') text += dateOf(5) + ",10,10,10,10,100\n";  // back in time
        std::ofstream(csv / (std::string(code) + ".csv")) << text;
    }
    const Market read = loadDailyCsv(csv, list, 2).market;
    Market fromTexts = read;
    for (MarketStock& s : fromTexts.stocks) s.prices.clear();
    Options o = handMadeOptions();
    o.horizons = {1, 3};
    EXPECT_EQ(resultFiles(run(read, o)), resultFiles(run(fromTexts, o)));
}

// A reading that refused lines may have refused days still to come then:
// the store of its market stands for the day it was written on alone.
TEST(Backtest, AStoreOfAReadingThatRefusedLinesStandsForItsDayAlone) {
    const test::TempDataDir dir;
    Options o = handMadeOptions();
    o.verdictStore = dir.path() / "market.verdicts";
    for (std::size_t refused : {0, 3}) {
        Market market = handMadeMarket();
        market.refusedLines = refused;
        market.sourceKey = 7 + refused;
        Clock::install(std::make_shared<FixedClock>(fromLocal({2026, 3, 2, 23, 0, 0, 1})));
        EXPECT_FALSE(runBacktest(market, o).results.verdictsFromStore);
        EXPECT_TRUE(readKeptMarket(o.verdictStore, market.sourceKey, o.minHistory));
        Clock::install(std::make_shared<FixedClock>(fromLocal({2026, 3, 3, 1, 0, 0, 2})));
        EXPECT_EQ(readKeptMarket(o.verdictStore, market.sourceKey, o.minHistory).has_value(),
                  refused == 0);
    }
    Clock::install(nullptr);
}

TEST(Backtest, MarketVerdictsCarryTheDaysPrices) {
    const MarketVerdicts v = computeMarketVerdicts(handMadeMarket(), 2);
    ASSERT_EQ(v.stocks.size(), 3u);
    // A traded on days 2 to 5; on day 3 it closed at 12 after 10.
    const std::vector<DayVerdict>& a = v.stocks[0].days;
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[1].date,
              std::stoi(dateOf(3).substr(0, 4) + dateOf(3).substr(5, 2) + dateOf(3).substr(8, 2)));
    EXPECT_FLOAT_EQ(a[1].close, 12);
    EXPECT_FLOAT_EQ(a[1].change, 20);
    // B has no line on day 4: days 2, 3 and 5.
    EXPECT_EQ(v.stocks[1].days.size(), 3u);
    EXPECT_EQ(v.count(), 4u + 3u + 2u);
}
