#pragma once
// What a trade costs, by date: the one table of rates every back-test
// figure uses (the command line's --help prints it).
//
//   commission    buys and sells  0.025%, at least 5 yuan a trade
//   stamp duty    sells           0.1%; 0.05% from 2023-08-28
//   transfer fee  buys and sells  0.002%; 0.001% from 2022-04-29
//
// The commission is the broker's and can be set; the duty and the fee are
// the state's and the exchanges', dated here.

#include <cstdint>
#include <span>
#include <string>

namespace orvane::backtest {

/// A rate that applies from a date (yyyymmdd) until the next entry's date.
struct DatedRate {
    std::int32_t from = 0;
    double rate = 0;
};

inline constexpr DatedRate kStampDuty[] = {{0, 0.001}, {20230828, 0.0005}};
inline constexpr DatedRate kTransferFee[] = {{0, 0.00002}, {20220429, 0.00001}};

/// The rate of a dated table on `date` (yyyymmdd).
double rateOn(std::span<const DatedRate> table, std::int32_t date);

/// The broker's side, and whether costs are charged at all.
struct TradingCosts {
    double commission = 0.00025;  // of the amount
    double minCommission = 5;     // yuan a trade
    bool charged = true;
};

/// The cost of buying or selling `amount` yuan on `date` (yyyymmdd).
double buyCost(double amount, std::int32_t date, const TradingCosts& costs);
double sellCost(double amount, std::int32_t date, const TradingCosts& costs);

/// The return of a round trip of `tradeSize` yuan after costs, its gross
/// return `grossReturn`: what the sale brings less its costs, over what the
/// purchase took with its costs, less 1.
double netReturn(double grossReturn, double tradeSize, std::int32_t buyDate, std::int32_t sellDate,
                 const TradingCosts& costs);

/// The table above as lines of text, with the commission as set.
std::string costTableText(const TradingCosts& costs);

}  // namespace orvane::backtest
