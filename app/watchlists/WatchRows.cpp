#include "watchlists/WatchRows.h"

#include <cmath>
#include <limits>

#include "holdings/HoldingRows.h"
#include "orvane/analysis/TrendNames.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/QuoteUnits.h"
#include "orvane/market/VolumeRatio.h"

namespace orvane::app {

namespace {

constexpr const char* kNone = "—";
constexpr const char* kSuspended = "停牌";
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const StockRecord* quoteRecord(const WatchRow& row) {
    if (!row.quote || !hasBelievablePrices(row.quote->record)) return nullptr;
    return &row.quote->record;
}

/// Red above the previous close, dark green below, black at it.
Rgb colourAgainst(double price, double yesClose) {
    if (price > yesClose && yesClose > 0) return colours::risingRed;
    if (price < yesClose && price > 0) return colours::fallingGreen;
    return colours::black;
}

std::optional<double> figure(const WatchRow& row, WatchColumn column) {
    const StockRecord* r = quoteRecord(row);
    if (!r) return std::nullopt;
    const HoldingFigures f = holdingFigures(*r);
    const bool suspended = f.suspended();
    switch (column) {
        case WatchColumn::Price:
            return suspended ? std::nullopt : std::optional<double>(f.close);
        case WatchColumn::Percent:
            return suspended ? std::nullopt : std::optional<double>(f.percent());
        case WatchColumn::Change:
            return suspended ? std::nullopt : std::optional<double>(f.change());
        case WatchColumn::Speed:
            return suspended ? std::nullopt : row.speed;
        case WatchColumn::Open:
            return suspended ? std::nullopt : std::optional<double>(r->open());
        case WatchColumn::High:
            return suspended ? std::nullopt : std::optional<double>(r->high());
        case WatchColumn::Low:
            return suspended ? std::nullopt : std::optional<double>(r->low());
        case WatchColumn::YesClose:
            return f.yesClose;
        case WatchColumn::Volume:
            return row.quote->volumeShares;
        case WatchColumn::Amount:
            return row.quote->amountYuan;
        case WatchColumn::Amplitude:
            if (suspended || f.yesClose <= 0) return std::nullopt;
            return (double{r->high()} - r->low()) * 100 / f.yesClose;
        default:
            return std::nullopt;
    }
}

}  // namespace

const std::vector<WatchColumnInfo>& watchColumns() {
    using C = WatchColumn;
    static const std::vector<WatchColumnInfo> columns{
        {C::Code, "代码", 70, true},       {C::Name, "名称", 90, true},
        {C::Price, "现价", 70, true},      {C::Percent, "涨跌幅", 75, true},
        {C::Change, "涨跌", 65, true},     {C::Speed, "涨速", 60, true},
        {C::Open, "今开", 65, false},      {C::High, "最高", 65, true},
        {C::Low, "最低", 65, true},        {C::YesClose, "昨收", 65, false},
        {C::Volume, "成交量", 85, true},   {C::Amount, "成交额", 85, true},
        {C::Amplitude, "振幅", 65, false}, {C::VolumeRatio, "量比", 55, true},
        {C::Trend, "趋势", 110, true},     {C::Score, "得分", 55, true},
        {C::ModeB, "模型B", 55, true},
    };
    return columns;
}

std::optional<double> watchVolumeRatio(const WatchRow& row) {
    if (!row.quote || !row.quote->volumeShares || !row.quote->record.date ||
        row.pastDaysLots.empty())
        return std::nullopt;
    const auto at = parseDateTime(*row.quote->record.date);
    if (!at) return std::nullopt;
    return volumeRatio(*row.quote->volumeShares, *at, row.pastDaysLots);
}

std::string shortCount(double count) {
    if (std::fabs(count) >= 1e8) return format("%.2f亿", count / 1e8);
    if (std::fabs(count) >= 1e4) return format("%.2f万", count / 1e4);
    return format("%.0f", count);
}

bool isTextColumn(WatchColumn column) {
    return column == WatchColumn::Name || column == WatchColumn::Trend;
}

std::string watchSortText(const WatchRow& row, WatchColumn column) {
    if (column == WatchColumn::Name)
        return row.quote ? row.quote->record.name.value_or("") : std::string();
    if (column == WatchColumn::Trend && row.verdict && row.verdict->trend)
        return std::string(trendName(*row.verdict->trend));
    return {};
}

RowCell watchCell(const WatchRow& row, WatchColumn column) {
    using C = WatchColumn;
    switch (column) {
        case C::Code:
            return {row.code};
        case C::Name:
        case C::Trend: {
            const std::string text = watchSortText(row, column);
            return {text.empty() ? kNone : text};
        }
        case C::Score:
            return {row.verdict && row.verdict->score ? std::to_string(*row.verdict->score)
                                                      : kNone};
        case C::ModeB:
            if (!row.verdict || !row.verdict->modeB) return {kNone};
            return *row.verdict->modeB ? RowCell{"是", colours::red} : RowCell{""};
        case C::VolumeRatio: {
            const std::optional<double> ratio = watchVolumeRatio(row);
            return {ratio ? format("%.2f", *ratio) : kNone};
        }
        default:
            break;
    }
    const std::optional<double> value = figure(row, column);
    const StockRecord* r = quoteRecord(row);
    if (!value) {
        if (column == C::Percent && r && holdingFigures(*r).suspended())
            return {kSuspended, colours::black};
        return {kNone};
    }
    const double yesClose = r->yesClose();
    switch (column) {
        case C::Percent:
            return {format(*value > 0 ? "+%.2f%%" : "%.2f%%", *value),
                    colourAgainst(r->close(), yesClose)};
        case C::Change:
            return {format(*value > 0 ? "+%.2f" : "%.2f", *value),
                    colourAgainst(r->close(), yesClose)};
        case C::Speed:
            return {format("%.2f%%", *value), *value > 0   ? colours::risingRed
                                              : *value < 0 ? colours::fallingGreen
                                                           : colours::black};
        case C::Amplitude:
            return {format("%.2f%%", *value)};
        case C::Volume:
            return {shortCount(lotsFromShares(*value))};  // in lots (手)
        case C::Amount:
            return {shortCount(*value)};
        case C::YesClose:
            return {format("%.2f", *value)};
        default:  // prices against the previous close
            return {format("%.2f", *value), colourAgainst(*value, yesClose)};
    }
}

double watchSortKey(const WatchRow& row, WatchColumn column, double textRank) {
    using C = WatchColumn;
    switch (column) {
        case C::Code:
            return std::stod(row.code);
        case C::Name:
        case C::Trend:
            return watchSortText(row, column).empty() ? kNaN : textRank;
        case C::Score:
            return row.verdict && row.verdict->score ? *row.verdict->score : kNaN;
        case C::ModeB:
            return row.verdict && row.verdict->modeB ? double(*row.verdict->modeB) : kNaN;
        case C::VolumeRatio:
            return watchVolumeRatio(row).value_or(kNaN);
        default:
            return figure(row, column).value_or(kNaN);
    }
}

}  // namespace orvane::app
