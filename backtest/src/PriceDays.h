#pragma once
// A stock's days as the back-test reads them from its history text, oldest
// first, placed on the market's calendar of trading days.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/backtest/PriceDay.h"
#include "orvane/market/CsvHistory.h"

namespace orvane::backtest {

/// The days of a history text (header, then newest day first). Every line
/// after the header must be a day line (seven fields, a real date) with a
/// date before the line above it; only empty lines may follow the last day.
/// Day k of the text (element k) is days[size - k].
PriceRead readPriceDays(std::string_view historyText);

/// The days readPriceDays reads from historyTextOf(bars) (CsvHistory.h),
/// without making the text: each number as the text would write it and the
/// reader read it back.
PriceRead priceDaysOf(const std::vector<DailyBar>& bars);

/// yyyymmdd of "yyyy-MM-dd", or 0 when the text is no date.
std::int32_t dateKey(std::string_view text);
std::string dateText(std::int32_t key);

/// The market's trading days: every date on which some stock has a line.
class TradingCalendar {
  public:
    explicit TradingCalendar(const std::vector<std::vector<PriceDay>*>& stocks);
    /// Sets each day's calendar index.
    void place(std::vector<PriceDay>& days) const;
    std::size_t size() const { return dates_.size(); }
    std::int32_t date(std::size_t day) const { return dates_[day]; }
    /// The first day on or after the date, and the last on or before it
    /// (size() and -1 when none).
    std::int32_t firstFrom(std::int32_t date) const;
    std::int32_t lastUntil(std::int32_t date) const;

  private:
    std::vector<std::int32_t> dates_;
};

}  // namespace orvane::backtest
