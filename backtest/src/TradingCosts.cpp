#include "orvane/backtest/TradingCosts.h"

#include <algorithm>

#include "orvane/core/NumberText.h"

namespace orvane::backtest {

namespace {

double commissionOn(double amount, const TradingCosts& costs) {
    return std::max(amount * costs.commission, costs.minCommission);
}

std::string datedText(std::span<const DatedRate> table) {
    std::string out;
    for (const DatedRate& r : table) {
        if (!out.empty())
            out += format("; %.3g%% from %04d-%02d-%02d", r.rate * 100, r.from / 10000,
                          r.from / 100 % 100, r.from % 100);
        else
            out += format("%.3g%%", r.rate * 100);
    }
    return out;
}

}  // namespace

double rateOn(std::span<const DatedRate> table, std::int32_t date) {
    double rate = 0;
    for (const DatedRate& r : table)
        if (date >= r.from) rate = r.rate;
    return rate;
}

double buyCost(double amount, std::int32_t date, const TradingCosts& costs) {
    if (!costs.charged) return 0;
    return commissionOn(amount, costs) + amount * rateOn(kTransferFee, date);
}

double sellCost(double amount, std::int32_t date, const TradingCosts& costs) {
    if (!costs.charged) return 0;
    return commissionOn(amount, costs) +
           amount * (rateOn(kTransferFee, date) + rateOn(kStampDuty, date));
}

double netReturn(double grossReturn, double tradeSize, std::int32_t buyDate, std::int32_t sellDate,
                 const TradingCosts& costs) {
    const double sold = tradeSize * (1 + grossReturn);
    return (sold - sellCost(sold, sellDate, costs)) /
               (tradeSize + buyCost(tradeSize, buyDate, costs)) -
           1;
}

std::string costTableText(const TradingCosts& costs) {
    return format("  commission    buys and sells  %.4g%%, at least %g yuan a trade\n",
                  costs.commission * 100, costs.minCommission) +
           "  stamp duty    sells           " + datedText(kStampDuty) + "\n" +
           "  transfer fee  buys and sells  " + datedText(kTransferFee) + "\n";
}

}  // namespace orvane::backtest
