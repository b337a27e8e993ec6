// screen: today's stocks of the whole market that meet a stock rule, from
// the data server's day's results in one request.

#include <algorithm>
#include <cstdio>

#include "CommandSupport.h"
#include "Commands.h"
#include "orvane/analysis/TrendNames.h"
#include "orvane/market/RuleScreen.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockRuleBook.h"
#include "orvane/stocklib/DayResultsFetch.h"

namespace orvane::cli {

namespace {

std::string flagText(const std::optional<bool>& f) {
    if (!f) return "-";
    return *f ? "yes" : "no";
}

void runScreen(const ServerOptions& servers, const std::string& nameOrText) {
    requireDataDirectory();
    const RuleBookRead book = readRuleBook();
    if (!book.note.empty()) std::fprintf(stderr, "orvane: %s\n", book.note.c_str());
    auto chosen = chooseRule(nameOrText, book.rules);
    if (auto* why = std::get_if<std::string>(&chosen)) {
        std::fprintf(stderr, "orvane: --rule: %s\n", why->c_str());
        throw CLI::RuntimeError(kBadUsage);
    }
    const ChosenRule& c = std::get<ChosenRule>(chosen);
    const std::vector<RuleField> fields = c.rule.fields();
    const bool readsSectors =
        std::find(fields.begin(), fields.end(), RuleField::Sector) != fields.end();
    if (readsSectors)
        ensureReferenceData(servers, !SectorGroups::shared().getPlateGroupNameArray().empty());
    applyServers(servers);
    const FetchedDayResults day = fetchDayResults();
    if (!day.error.empty()) fail(day.error);
    if (day.results.empty()) fail("the day's results list no stock");
    const ScreenOutcome screen =
        screenDayResults(day.results, c.rule, readsSectors ? &SectorGroups::shared() : nullptr);
    const std::string& date = day.results.front().date;
    if (screen.met.empty())
        nothingFound("the rule \"" + c.name + "\" met none of the " +
                     std::to_string(day.results.size()) + " stocks of " + date);
    std::printf("%zu of %zu stocks of %s meet %s\n", screen.met.size(), day.results.size(),
                date.c_str(), stockRuleText(c.rule).c_str());
    std::printf(
        "code\tname\ttrend\tscore\tmodel B\tbuy A\tbuy B\t5-day %%\t10-day %%\tchange %%\tclose\n");
    for (std::size_t i : screen.met) {
        const DayResult& r = day.results[i];
        const StockFacts f = factsOf(r, nullptr);
        std::printf("%s\t%s\t%d %s\t%d\t%s\t%s\t%s\t%.2f\t%.2f\t%.2f\t%.2f\n", r.code.c_str(),
                    r.name.c_str(), r.trend, std::string(trendName(r.trend)).c_str(), r.score,
                    r.modelB ? "yes" : "no", flagText(r.buyA).c_str(), flagText(r.buyB).c_str(),
                    r.gain5, r.gain10, f.change.value_or(0.0), r.close);
    }
    if (day.refusedLines)
        std::fprintf(stderr, "orvane: %zu lines of the day's results were not read\n",
                     day.refusedLines);
}

}  // namespace

void addScreenCommand(CLI::App& app) {
    auto [cmd, servers] = addServerCommand(
        app, "screen",
        "today's stocks of the whole market that meet a stock rule (a name from StockRules.plist "
        "or the rule's text, such as \"trend in (1001, 1000) and score >= 150 and gain5 < 20 "
        "and not st\")");
    auto rule = std::make_shared<std::string>();
    cmd->add_option("--rule", *rule, "the rule's name or its text")->required();
    cmd->callback([=, servers = servers] { runScreen(*servers, *rule); });
}

}  // namespace orvane::cli
