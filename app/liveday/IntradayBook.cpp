#include "liveday/IntradayBook.h"

#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/QuoteLine.h"

namespace orvane::app {

IntradayBook::Entry& IntradayBook::entryFor(const std::string& code, const std::string& day) {
    Entry& e = entries_[code];
    if (e.day != day) e = Entry{.day = day};
    return e;
}

void IntradayBook::absorbQuote(const StockRecord& quote) {
    const std::string stamp = quote.date.value_or("");
    const auto moment = parseDateTime(stamp);
    if (!moment) return;
    Entry& e = entryFor(quote.code, stamp.substr(0, 10));
    e.line.previousClose = leadingDouble(quote.yesClosePrice.value_or(""));
    e.line.suspended = isSuspendedQuote(quote);
    if (e.fromServer || e.line.suspended) return;
    // The closing second (11:30:00, 15:00:00) belongs to the minute before.
    int hour = moment->hour, minute = moment->minute;
    if (moment->second == 0 && ((hour == 11 && minute == 30) || (hour == 15 && minute == 0)))
        minute -= 1;
    const auto at = chart::intradayMinuteAt(hour, minute);
    if (!at) return;
    const double volume = quote.volume.value_or(0);
    if (e.lastMinute < 0) {
        // What traded before the program watched is not known by the minute.
        e.volumeBeforeMinute = volume;
        e.line.sampledSince = chart::intradayMinuteText(*at);
    } else if (*at > e.lastMinute) {
        e.volumeBeforeMinute = e.lastVolume;
    }
    e.lastMinute = std::max(e.lastMinute, *at);
    e.lastVolume = volume;
    // Prices in double precision, as typed: a threshold of 10.20 is met by 10.20.
    const double price = leadingDouble(quote.closePrice.value_or(""));
    const double average = volume > 0 && quote.amount ? *quote.amount / volume : price;
    e.line.sample(*at, price, average, std::max(0.0, volume - e.volumeBeforeMinute));
}

void IntradayBook::absorbMinutes(const std::string& code, const std::vector<MinuteBar>& bars) {
    if (bars.empty()) return;
    Entry& e = entries_[code];
    e.fromServer = true;
    e.line.sampledSince.reset();
    e.line.points.clear();
    for (const MinuteBar& b : bars) e.line.sample(b.minute, b.price, b.averagePrice, b.volume);
}

chart::IntradayLine IntradayBook::lineOf(const std::string& code) const {
    auto it = entries_.find(code);
    return it == entries_.end() ? chart::IntradayLine{} : it->second.line;
}

bool IntradayBook::hasServerMinutes(const std::string& code) const {
    auto it = entries_.find(code);
    return it != entries_.end() && it->second.fromServer;
}

}  // namespace orvane::app
