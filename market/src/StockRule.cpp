#include "orvane/market/StockRule.h"

#include <algorithm>

namespace orvane {

namespace {

bool compare(double value, Comparison c, double bound) {
    switch (c) {
        case Comparison::Less:
            return value < bound;
        case Comparison::LessOrEqual:
            return value <= bound;
        case Comparison::Greater:
            return value > bound;
        case Comparison::GreaterOrEqual:
            return value >= bound;
    }
    return false;
}

template <typename T, typename U>
bool contains(const std::vector<T>& list, const U& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Whether the facts meet one condition; nothing when the fact is missing.
std::optional<bool> holds(const RuleCondition& c, const StockFacts& f) {
    auto flag = [&](const std::optional<bool>& fact) -> std::optional<bool> {
        if (!fact) return std::nullopt;
        return *fact != c.negated;
    };
    auto number = [&](const auto& fact) -> std::optional<bool> {
        if (!fact) return std::nullopt;
        return compare(static_cast<double>(*fact), c.comparison, c.number);
    };
    switch (c.field) {
        case RuleField::Trend:
            if (!f.trend) return std::nullopt;
            return contains(c.trends, *f.trend) != c.negated;
        case RuleField::Score:
            return number(f.score);
        case RuleField::ModelB:
            return flag(f.modelB);
        case RuleField::BuyA:
            return flag(f.buyA);
        case RuleField::BuyB:
            return flag(f.buyB);
        case RuleField::Gain5:
            return number(f.gain5);
        case RuleField::Gain10:
            return number(f.gain10);
        case RuleField::Change:
            return number(f.change);
        case RuleField::Close:
            return number(f.close);
        case RuleField::St:
            return f.st() != c.negated;
        case RuleField::LimitUp:
            return flag(f.limitUp);
        case RuleField::Sector: {
            if (!f.sectors) return std::nullopt;
            const bool member = std::any_of(c.sectors.begin(), c.sectors.end(),
                                            [&](const auto& s) { return contains(*f.sectors, s); });
            return member != c.negated;
        }
        case RuleField::Board:
            return contains(c.boards, f.board()) != c.negated;
    }
    return std::nullopt;
}

}  // namespace

std::vector<RuleField> StockRule::fields() const {
    std::vector<RuleField> out;
    for (const RuleCondition& c : conditions)
        if (!contains(out, c.field)) out.push_back(c.field);
    return out;
}

RuleMatch evaluateRule(const StockRule& rule, const StockFacts& facts) {
    bool unknown = false;
    for (const RuleCondition& c : rule.conditions) {
        const std::optional<bool> met = holds(c, facts);
        if (!met)
            unknown = true;
        else if (!*met)
            return RuleMatch::NotMet;
    }
    return unknown ? RuleMatch::Unknown : RuleMatch::Met;
}

}  // namespace orvane
