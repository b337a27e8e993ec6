#pragma once
// The day's results of the whole market in one file, one line a stock, so
// that a screen of every stock is one fetch (serverpath::kDayResultsFile below the data
// server's base). UTF-8 text: the header line
//
//   code,name,date,trend,score,modelB,buyA,buyB,gain5,gain10,yesClose,open,high,low,close
//
// then a line a stock: the verdict of its last day (buyA and buyB empty when
// the model-B check did not run; gains in percent) and that day's prices.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/ServerPaths.h"
#include "orvane/market/StockFacts.h"

namespace orvane {

class SectorGroups;

struct DayResult {
    std::string code, name, date;  // date "yyyy-MM-dd"
    std::int32_t trend = 0, score = 0;
    bool modelB = false;
    std::optional<bool> buyA, buyB;
    double gain5 = 0, gain10 = 0;
    double yesClose = 0, open = 0, high = 0, low = 0, close = 0;

    friend bool operator==(const DayResult&, const DayResult&) = default;
};

/// The file's text; commas and line breaks in a name become spaces.
std::string dayResultsText(const std::vector<DayResult>& results);

struct DayResultsRead {
    std::vector<DayResult> results;
    std::size_t refusedLines = 0;  // lines that are no stock's result
    /// Why the text is no day-results file at all (no or another header).
    std::string error;
};

DayResultsRead parseDayResults(std::string_view text);

/// A result's facts for a rule: the verdict, the day's change and close, the
/// limit-up close by the day's rules, and the sector groups when given.
StockFacts factsOf(const DayResult& result, const SectorGroups* sectors);

}  // namespace orvane
