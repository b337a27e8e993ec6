#pragma once
// A stock rule: a condition over one stock's day, written as a small text
// that the screen, the back-test and the alerts all read, for example
//
//     trend in (1001, 1000) and score >= 150 and gain5 < 20 and not st
//
// Conditions are joined by "and" (every one must hold). Words are read in
// either case; numbers may carry a sign and decimals.
//
//   trend in (CODE, ...)      any of the trend codes (-1, 0, 1, 2, 3, 1000, 1001);
//   trend = CODE              also "trend = 1001"
//   score OP N                OP one of >=, <=, >, < (also ≥ and ≤); -1000 to 1000
//   gain5 OP N, gain10 OP N   the 5- and 10-day gains in percent, -100 to 10000
//   change OP N               the day's move in percent, -100 to 100
//   close OP N                the close in yuan, 0 to 100000
//   modelb, buya, buyb        model B and its buy points A and B
//   st                        an ST name
//   limitup                   bought at the limit-up price
//   sector in ("NAME", ...)   member of any of the sector groups; also sector = "NAME"
//   board in (main, chinext, star); also board = star
//
// "not" before a flag or an "in"/"=" condition turns it round ("not st",
// "not board in (star)"); a comparison is turned round by its operator.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "orvane/market/PriceLimits.h"
#include "orvane/market/StockFacts.h"

namespace orvane {

enum class RuleField : std::uint8_t {
    Trend,
    Score,
    ModelB,
    BuyA,
    BuyB,
    Gain5,
    Gain10,
    Change,
    Close,
    St,
    LimitUp,
    Sector,
    Board
};

enum class Comparison : std::uint8_t { Less, LessOrEqual, Greater, GreaterOrEqual };

struct RuleCondition {
    RuleField field = RuleField::St;
    bool negated = false;  // flags and lists only
    Comparison comparison = Comparison::GreaterOrEqual;
    double number = 0;                 // the bound of a comparison
    std::vector<std::int32_t> trends;  // trend in (...)
    std::vector<std::string> sectors;  // sector in (...)
    std::vector<Board> boards;         // board in (...)

    friend bool operator==(const RuleCondition&, const RuleCondition&) = default;
};

struct StockRule {
    std::vector<RuleCondition> conditions;

    /// The fields the rule reads, each once, in the order of the conditions.
    std::vector<RuleField> fields() const;

    friend bool operator==(const StockRule&, const StockRule&) = default;
};

/// Where a rule text is wrong: the character (counted from 1, a Chinese
/// character counting one) and what is wrong there.
struct RuleError {
    std::size_t column = 1;
    std::string message;

    /// "column N: MESSAGE".
    std::string text() const;
};

/// The rule of a text, or where and why it is wrong (the first fault).
std::variant<StockRule, RuleError> parseStockRule(std::string_view text);

/// The rule written out in the form the parser reads: conditions in their
/// order, one space around each operator and after each comma.
std::string stockRuleText(const StockRule& rule);

/// The name of a field as the text writes it ("gain5").
std::string_view ruleFieldName(RuleField field);

enum class RuleMatch : std::uint8_t {
    Met,
    NotMet,
    Unknown  // a field the rule reads is not among the facts (and no other condition fails)
};

/// The rule over one stock's facts: not met as soon as a known fact fails a
/// condition; unknown when none fails but a fact it needs is missing.
RuleMatch evaluateRule(const StockRule& rule, const StockFacts& facts);

}  // namespace orvane
