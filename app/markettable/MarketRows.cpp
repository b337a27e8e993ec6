#include "markettable/MarketRows.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "orvane/analysis/TrendNames.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/QuoteUnits.h"
#include "orvane/market/VolumeRatio.h"

namespace orvane::app {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// The figure of a cell, NaN when the row has none.
double figureOf(const MarketRow& row, MarketColumn column) {
    if (column == MarketColumn::VolumeRatio) return row.volumeRatio.value_or(kNone);
    if (column == MarketColumn::Score) return row.score ? *row.score : kNone;
    if (!row.quote) return kNone;
    const MarketQuote& q = *row.quote;
    const bool priced = !q.suspended();
    const bool based = priced && q.previousClose > 0;
    switch (column) {
        case MarketColumn::Price:
            return priced ? q.price : kNone;
        case MarketColumn::Percent:
            return based ? (q.price - q.previousClose) / q.previousClose * 100 : kNone;
        case MarketColumn::Change:
            return based ? q.price - q.previousClose : kNone;
        case MarketColumn::Speed:
            return priced ? row.speed : kNone;
        case MarketColumn::Amplitude:
            return based ? (q.high - q.low) / q.previousClose * 100 : kNone;
        case MarketColumn::Volume:
            return lotsFromShares(q.volume);  // 手
        case MarketColumn::Amount:
            return q.amount;
        default:
            return kNone;
    }
}

std::string largeNumber(double value, int decimals) {
    if (std::abs(value) >= 1e8) return format("%.2f亿", value / 1e8);
    if (std::abs(value) >= 1e4) return format("%.2f万", value / 1e4);
    return format("%.*f", decimals, value);
}

}  // namespace

const char* marketColumnTitle(MarketColumn column) {
    static const char* const titles[kMarketColumnCount] = {"代码",       "名称",   "现价", "涨跌幅",
                                                           "涨跌",       "涨速",   "量比", "振幅",
                                                           "成交量(手)", "成交额", "判断", "得分"};
    return titles[static_cast<int>(column)];
}

std::optional<double> volumeRatioOf(const MarketRow& row) {
    if (!row.quote || row.pastDaysLots.empty()) return std::nullopt;
    const auto at = parseDateTime(row.quote->date + " " + row.quote->time);
    if (!at) return std::nullopt;
    return volumeRatio(row.quote->volume, *at, row.pastDaysLots);
}

std::optional<std::string> trendWordsOfResultFile(std::string_view text) {
    constexpr std::string_view key = "trend=";
    for (std::size_t at = text.find(key); at != std::string_view::npos;
         at = text.find(key, at + 1)) {
        // "before_trend=" is the trend five days earlier.
        if (at != 0 && text[at - 1] != '\n') continue;
        const std::size_t start = at + key.size();
        const std::size_t end = text.find_first_of("\r\n", start);
        const std::string value(
            text.substr(start, end == std::string_view::npos ? end : end - start));
        char* rest = nullptr;
        const long trend = std::strtol(value.c_str(), &rest, 10);
        if (value.empty() || rest == value.c_str()) return std::nullopt;
        return std::string(trendName(trend));
    }
    return std::nullopt;
}

std::string verdictWordsOf(const ScoreRecord& record) {
    std::string words;
    const auto add = [&words](const char* word) {
        if (!words.empty()) words += ' ';
        words += word;
    };
    if (record.modeB) add("B模式");
    if (record.modeType == 4) add("双炮");
    if (record.modeType == 1) add("单炮");
    return words;
}

std::string marketCellText(const MarketRow& row, MarketColumn column) {
    switch (column) {
        case MarketColumn::Code:
            return row.code;
        case MarketColumn::Name:
            return row.quote && !row.quote->name.empty() ? row.quote->name : row.name;
        case MarketColumn::Verdict:
            return row.trend.empty() || row.verdict.empty() ? row.trend + row.verdict
                                                            : row.trend + " " + row.verdict;
        default:
            break;
    }
    if (column == MarketColumn::Percent && row.quote && row.quote->suspended()) return "停牌";
    const double x = figureOf(row, column);
    if (std::isnan(x)) return column == MarketColumn::Score ? "" : "—";
    switch (column) {
        case MarketColumn::Percent:
        case MarketColumn::Speed:
        case MarketColumn::Amplitude:
            return format("%.2f%%", x);
        case MarketColumn::Volume:
            return largeNumber(x, 0);
        case MarketColumn::Amount:
            return largeNumber(x, 0);
        case MarketColumn::Score:
            return format("%.0f", x);
        default:
            return format("%.2f", x);
    }
}

int marketCellTrend(const MarketRow& row, MarketColumn column) {
    MarketColumn by = MarketColumn::Change;
    if (column == MarketColumn::Speed)
        by = MarketColumn::Speed;
    else if (column != MarketColumn::Price && column != MarketColumn::Percent &&
             column != MarketColumn::Change)
        return 0;
    const double x = figureOf(row, by);
    if (std::isnan(x) || x == 0) return 0;
    return x > 0 ? 1 : -1;
}

double marketSortKey(const MarketRow& row, MarketColumn column) {
    switch (column) {
        case MarketColumn::Code:
            return std::strtod(row.code.c_str(), nullptr);
        case MarketColumn::Name:
        case MarketColumn::Verdict:
            return kNone;
        default:
            return figureOf(row, column);
    }
}

}  // namespace orvane::app
