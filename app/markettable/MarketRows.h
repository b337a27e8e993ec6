#pragma once
// One row of the market table (行情总览): a stock of the code table with
// its latest quote, its 涨速 and 量比, and the day's verdict and score from
// the server's score list; the columns, each cell's text, colour and sort
// key. Pure, so that each rule is tested without a window.

#include <optional>
#include <string>
#include <vector>

#include "markettable/MarketQuote.h"
#include "orvane/core/Clock.h"
#include "orvane/market/ScoreLists.h"

namespace orvane::app {

enum class MarketColumn {
    Code,
    Name,
    Price,
    Percent,
    Change,
    Speed,
    VolumeRatio,
    Amplitude,
    Volume,
    Amount,
    Verdict,
    Score,
};
inline constexpr int kMarketColumnCount = 12;

/// "代码", "名称", "现价", "涨跌幅", "涨跌", "涨速", "量比", "振幅", "成交量(手)",
/// "成交额", "判断", "得分".
const char* marketColumnTitle(MarketColumn column);

struct MarketRow {
    std::string code, name;
    std::optional<MarketQuote> quote;  // none until the first answer
    TimePoint quotedAt;                // when the quote was seen
    double speed = 0;                  // 涨速, percent over five minutes
    std::optional<double> volumeRatio;
    std::optional<int> score;
    std::string verdict;               // the score list's pattern words
    std::string trend;                 // the day's trend from the stock's result file
    std::vector<double> pastDaysLots;  // the last days' volumes, oldest first
};

/// 量比 of a row: its quote's volume a minute of the session so far (at the
/// quote's time) against the mean a minute of its last five days; nothing
/// without a quote or past volumes.
std::optional<double> volumeRatioOf(const MarketRow& row);

/// The trend words of a stock's result file ("trend=" at a line's start,
/// named as the verdicts name it: "上涨趋势", ...); nothing without one.
std::optional<std::string> trendWordsOfResultFile(std::string_view text);

/// The verdict words of a score-list line: "B模式", "双炮", "单炮", joined
/// by a space; "" for none of them.
std::string verdictWordsOf(const ScoreRecord& record);

/// The text of a cell: the verdict is the trend words and the pattern
/// words, a space between; prices "%.2f", percents "%.2f%", volume in lots
/// (shares / 100) and amount in 万 or 亿 from 10,000 and 100,000,000 up; "—"
/// for a figure the row does not have (no quote yet, suspended, no previous
/// close), and "停牌" as the percent of a suspended stock.
std::string marketCellText(const MarketRow& row, MarketColumn column);

/// +1 when a cell shows a rise (red), −1 a fall (green), 0 neither: the
/// price, percent and change follow the change, 涨速 its own sign.
int marketCellTrend(const MarketRow& row, MarketColumn column);

/// The cell's figure to sort by; NaN when it shows none (such rows sort
/// last). Code sorts by its number; text columns are sorted by the model.
double marketSortKey(const MarketRow& row, MarketColumn column);

}  // namespace orvane::app
