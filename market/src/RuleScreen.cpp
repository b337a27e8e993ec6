#include "orvane/market/RuleScreen.h"

#include <algorithm>

#include "orvane/market/SectorGroups.h"

namespace orvane {

ScreenOutcome screenDayResults(const std::vector<DayResult>& results, const StockRule& rule,
                               const SectorGroups* sectors) {
    const std::vector<RuleField> fields = rule.fields();
    // The groups are looked up only for a rule that asks for them.
    const bool readsSectors =
        std::find(fields.begin(), fields.end(), RuleField::Sector) != fields.end();
    ScreenOutcome out;
    for (std::size_t i = 0; i < results.size(); ++i) {
        switch (evaluateRule(rule, factsOf(results[i], readsSectors ? sectors : nullptr))) {
            case RuleMatch::Met:
                out.met.push_back(i);
                break;
            case RuleMatch::Unknown:
                ++out.undecided;
                break;
            case RuleMatch::NotMet:
                break;
        }
    }
    return out;
}

}  // namespace orvane
