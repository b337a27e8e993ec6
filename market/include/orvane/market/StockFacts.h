#pragma once
// What a stock rule may ask of one stock on one day: the day's verdict, its
// prices and what the code and name say. A fact not known where the facts
// were gathered (a quote has no verdict) stays empty, and a rule asking for
// it cannot be decided there.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/PriceLimits.h"

namespace orvane {

struct StockFacts {
    std::string code;  // six digits: the board follows from it
    std::string name;
    std::optional<std::int32_t> trend, score;
    std::optional<bool> modelB, buyA, buyB;
    std::optional<double> gain5, gain10;  // percent
    std::optional<double> change;         // the day's move from the previous close, percent
    std::optional<double> close;
    /// Whether the stock would be bought at the limit-up price (no fill is
    /// likely): the day closed at the limit up.
    std::optional<bool> limitUp;
    /// The stock's sector groups; nothing when the groups are not at hand.
    std::optional<std::vector<std::string>> sectors;

    Board board() const { return boardOf(code); }
    bool st() const { return isStName(name); }

    /// Risk-warned shares carry "ST" in their name ("ST", "*ST", "SST").
    static bool isStName(std::string_view name);
};

/// The day's move in percent from the previous close; nothing without a
/// previous close above 0.
std::optional<double> changePercent(double close, double previousClose);

/// Whether `close` is at the day's limit up from `previousClose` for a stock
/// of `board` on `date` ("yyyy-MM-dd"): at or above the previous close moved
/// by the limit, rounded to the cent as the exchanges set it. Never on a day
/// without a limit.
bool closedAtLimitUp(double close, double previousClose, Board board, std::string_view date,
                     bool st);

}  // namespace orvane
