#include "StockDays.h"

#include "orvane/market/PriceLimits.h"

namespace orvane::backtest {

double closeBefore(const StockDays& stock, std::size_t row) {
    while (row-- > 0)
        if (stock.days[row].traded) return stock.days[row].close;
    return 0;
}

bool atLimitUpOn(const StockDays& stock, std::size_t row, double price) {
    const double before = closeBefore(stock, row);
    return stock.limits[row] > 0 && before > 0 && atLimitUp(price, before, stock.limits[row]);
}

bool atLimitDownOn(const StockDays& stock, std::size_t row, double price) {
    const double before = closeBefore(stock, row);
    return stock.limits[row] > 0 && before > 0 && atLimitDown(price, before, stock.limits[row]);
}

std::vector<double> dailyLimits(const std::string& code, const std::string& name,
                                const std::vector<PriceDay>& days,
                                const std::vector<std::string>& dates) {
    const Board board = boardOf(code);
    const bool st = isRiskWarned(name);
    const bool listedInData = !days.empty() && days.front().day > 0;
    std::vector<double> limits(days.size());
    for (std::size_t i = 0; i < days.size(); ++i) {
        const auto limit = dailyLimitOf(board, dates[static_cast<std::size_t>(days[i].day)], st,
                                        listingDayOf(i, listedInData));
        limits[i] = limit.value_or(0.0);
    }
    return limits;
}

}  // namespace orvane::backtest
