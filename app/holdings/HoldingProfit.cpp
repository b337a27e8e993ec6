#include "holdings/HoldingProfit.h"

#include <charconv>
#include <cmath>

#include "orvane/core/NumberText.h"

namespace orvane::app {

std::optional<std::string> refusalOfPosition(const std::string& costText, std::int64_t shares) {
    double cost = 0;
    const char* end = costText.data() + costText.size();
    const auto [stop, error] = std::from_chars(costText.data(), end, cost);
    if (costText.empty() || error != std::errc() || stop != end || !std::isfinite(cost))
        return "成本价必须是数字";
    if (cost <= 0 || cost > kHighestBelievablePrice) return "成本价必须大于 0";
    if (shares <= 0 || shares % kLotSize != 0) return "持股数量必须是 100 股的整数倍";
    return std::nullopt;
}

double marketValue(double price, const Position& p) {
    return price * double(p.shares);
}

double floatingProfit(double price, const Position& p) {
    return (price - p.cost) * double(p.shares);
}

double profitPercent(double price, const Position& p) {
    return (price - p.cost) * 100 / p.cost;
}

std::optional<double> valuationPrice(const StockRecord& record) {
    if (!hasQuote(record) || !hasBelievablePrices(record)) return std::nullopt;
    const HoldingFigures f = holdingFigures(record);
    const double price = f.suspended() ? f.yesClose : f.close;
    return price > 0 ? std::optional<double>(price) : std::nullopt;
}

std::optional<double> PositionTotals::percent() const {
    if (paid <= 0) return std::nullopt;
    return profit * 100 / paid;
}

PositionTotals totalOf(const std::vector<StockRecord>& rows, const Positions& positions) {
    PositionTotals totals;
    for (const StockRecord& row : rows) {
        const auto position = positions.find(row.code);
        const std::optional<double> price = valuationPrice(row);
        if (position == positions.end() || !price) continue;
        totals.value += marketValue(*price, position->second);
        totals.profit += floatingProfit(*price, position->second);
        totals.paid += position->second.cost * double(position->second.shares);
        ++totals.counted;
    }
    return totals;
}

bool isPositionColumn(std::string_view column) {
    namespace col = positionColumns;
    return column == col::cost || column == col::shares || column == col::value ||
           column == col::profit || column == col::percent;
}

std::optional<double> positionFigure(const StockRecord& record, const Position* position,
                                     std::string_view column) {
    namespace col = positionColumns;
    if (!position) return std::nullopt;
    if (column == col::cost) return position->cost;
    if (column == col::shares) return double(position->shares);
    const std::optional<double> price = valuationPrice(record);
    if (!price) return std::nullopt;
    if (column == col::value) return marketValue(*price, *position);
    if (column == col::profit) return floatingProfit(*price, *position);
    if (column == col::percent) return profitPercent(*price, *position);
    return std::nullopt;
}

HoldingCell positionCell(const StockRecord& record, const Position* position,
                         std::string_view column) {
    namespace col = positionColumns;
    const std::optional<double> figure = positionFigure(record, position, column);
    if (!figure) return {kNoQuoteName, HoldingFont::Table, colours::black};
    if (column == col::shares)
        return {format("%lld", static_cast<long long>(*figure)), HoldingFont::Table,
                colours::black};
    if (column == col::cost) return {format("%.3f", *figure), HoldingFont::Table, colours::black};
    if (column == col::value) return {format("%.2f", *figure), HoldingFont::Table, colours::black};
    const Rgb colour = *figure > 0   ? colours::risingRed
                       : *figure < 0 ? colours::fallingGreen
                                     : colours::black;
    if (column == col::percent)
        return {format(*figure > 0 ? "+%.2f%%" : "%.2f%%", *figure), HoldingFont::Table, colour};
    return {format(*figure > 0 ? "+%.2f" : "%.2f", *figure), HoldingFont::Table, colour};
}

}  // namespace orvane::app
