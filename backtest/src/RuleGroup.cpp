#include "RuleGroup.h"

#include <algorithm>
#include <cmath>

#include "orvane/market/SectorGroups.h"

namespace orvane::backtest {

namespace {

std::optional<double> known(float v) {
    if (std::isnan(v)) return std::nullopt;
    return v;
}

std::optional<bool> buyPoint(std::int8_t flag) {
    return flag > 0;
}

}  // namespace

StockFacts factsOfSignal(const Results& results, const Signal& s,
                         std::optional<std::vector<std::string>> sectors) {
    StockFacts f;
    const StockInfo& stock = results.stocks[s.stock];
    f.code = stock.code;
    f.name = stock.name;
    f.trend = s.trend;
    f.score = s.score;
    f.modelB = s.modelB;
    f.buyA = buyPoint(s.buyA);
    f.buyB = buyPoint(s.buyB);
    f.gain5 = known(s.gain5);
    f.gain10 = known(s.gain10);
    f.change = known(s.change);
    f.close = known(s.close);
    f.limitUp = s.entry == Entry::LimitUp;
    f.sectors = std::move(sectors);
    return f;
}

std::vector<bool> signalsMeeting(const Results& results, const RuleChoice& choice) {
    const std::vector<RuleField> fields = choice.rule.fields();
    const bool readsSectors = choice.sectors && std::find(fields.begin(), fields.end(),
                                                          RuleField::Sector) != fields.end();
    // Each stock's groups once: the signals come by stock.
    std::vector<bool> out(results.signals.size(), false);
    std::optional<std::vector<std::string>> sectors;
    std::uint32_t sectorsOf = UINT32_MAX;
    for (std::size_t i = 0; i < results.signals.size(); ++i) {
        const Signal& s = results.signals[i];
        if (readsSectors && s.stock != sectorsOf) {
            sectors = choice.sectors->groupsOf(results.stocks[s.stock].code);
            sectorsOf = s.stock;
        }
        out[i] = evaluateRule(choice.rule, factsOfSignal(results, s, sectors)) == RuleMatch::Met;
    }
    return out;
}

}  // namespace orvane::backtest
