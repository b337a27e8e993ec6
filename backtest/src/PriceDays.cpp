#include "PriceDays.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "orvane/core/HistoryReader.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"

namespace orvane::backtest {

std::int32_t dateKey(std::string_view text) {
    const auto date = parseDate(text);
    return date ? date->year * 10000 + date->month * 100 + date->day : 0;
}

std::string dateText(std::int32_t key) {
    return format("%04d-%02d-%02d", key / 10000, key / 100 % 100, key % 100);
}

PriceRead readPriceDays(std::string_view historyText) {
    PriceRead read;
    const std::vector<std::string_view> lines = historyElements(historyText);
    std::size_t last = lines.size();
    while (last > 1 && lines[last - 1].empty()) --last;
    read.days.resize(last > 0 ? last - 1 : 0);
    for (std::size_t k = 1; k < last; ++k) {
        // The fields of the line, taken apart in place.
        std::array<std::string_view, kDayLineFields> f{};
        const std::size_t fields = visitDayFields(lines[k], [&](std::size_t i, std::string_view v) {
            if (i < f.size()) f[i] = v;
        });
        const std::int32_t date = fields == kDayLineFields ? dateKey(f[kDateField]) : 0;
        auto fail = [&](const char* what) {
            read.error = "line " + std::to_string(k + 1) + ": " + what;
            read.days.clear();
            return read;
        };
        if (date == 0) return fail("not a day line (seven fields, a date first)");
        PriceDay& day = read.days[read.days.size() - k];
        if (k > 1 && date >= read.days[read.days.size() - k + 1].date)
            return fail("its date is not before the line above it");
        day.date = date;
        day.open = fieldDouble(f[kOpenField]);
        day.low = fieldDouble(f[kLowField]);
        day.close = fieldDouble(f[kCloseField]);
        day.traded =
            fieldDouble(f[kVolumeField]) > 0 && day.open > 0 && day.low > 0 && day.close > 0;
    }
    return read;
}

PriceRead priceDaysOf(const std::vector<DailyBar>& bars) {
    PriceRead read;
    read.days.resize(bars.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const DailyBar& bar = bars[i];
        const std::int32_t date = dateKey(bar.date);
        // A day the text would not give cleanly is left to the text's reader,
        // which says what is wrong with it. The text holds the bar's date as
        // it is, and its reader keys it as dateKey does.
        if (date == 0 || (i > 0 && date <= read.days[i - 1].date))
            return readPriceDays(historyTextOf(bars));
        // Each number as historyTextOf writes it (appendFixed) and a field
        // reads it back (leadingDouble).
        PriceDay& day = read.days[i];
        day.date = date;
        day.open = fixedValue(bar.open, 2);
        day.low = fixedValue(bar.low, 2);
        day.close = fixedValue(bar.close, 2);
        day.traded = fixedValue(bar.volume, 0) > 0 && day.open > 0 && day.low > 0 && day.close > 0;
    }
    return read;
}

TradingCalendar::TradingCalendar(const std::vector<std::vector<PriceDay>*>& stocks) {
    // Each stock's dates rise: merging them one stock at a time keeps the
    // calendar sorted and free of repeats.
    std::vector<std::int32_t> dates, merged;
    for (const auto* days : stocks) {
        dates.clear();
        for (const PriceDay& d : *days) dates.push_back(d.date);
        merged.clear();
        std::set_union(dates_.begin(), dates_.end(), dates.begin(), dates.end(),
                       std::back_inserter(merged));
        dates_.swap(merged);
    }
}

void TradingCalendar::place(std::vector<PriceDay>& days) const {
    auto at = dates_.begin();
    for (PriceDay& d : days) {
        at = std::lower_bound(at, dates_.end(), d.date);
        d.day = static_cast<std::int32_t>(at - dates_.begin());
    }
}

std::int32_t TradingCalendar::firstFrom(std::int32_t date) const {
    return static_cast<std::int32_t>(std::lower_bound(dates_.begin(), dates_.end(), date) -
                                     dates_.begin());
}

std::int32_t TradingCalendar::lastUntil(std::int32_t date) const {
    return static_cast<std::int32_t>(std::upper_bound(dates_.begin(), dates_.end(), date) -
                                     dates_.begin()) -
           1;
}

}  // namespace orvane::backtest
