#include "orvane/httpserver/LiveQuotes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "orvane/core/NumberText.h"
#include "orvane/market/TradingCalendar.h"

namespace orvane::server {

namespace {

constexpr double kDayLimit = 0.10;      // the exchanges' daily limit
constexpr double kOpeningGap = 0.02;    // the open lies within this of the close
constexpr double kStepSpread = 0.0025;  // the largest move of one step
constexpr double kPullBack = 0.002;     // share of the distance to the close given back a step
constexpr std::size_t kQuoteFields = 32;

/// SplitMix64: a well-mixed 64-bit value for every input.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t codeKey(std::string_view code) {
    std::uint64_t key = 1469598103934665603ULL;  // FNV-1a
    for (unsigned char c : code) key = (key ^ c) * 1099511628211ULL;
    return key;
}

/// A value in [-1, 1) for (stream, k).
double unitAt(std::uint64_t stream, std::uint64_t k) {
    return static_cast<double>(mix(stream ^ mix(k)) >> 11) * 0x1.0p-52 - 1.0;
}

double cents(double price) {
    return std::round(price * 100.0) / 100.0;
}

struct DayWalk {
    double open = 0, price = 0, high = 0, low = 0, volume = 0, amount = 0;
    double ceiling = 0, floor = 0;
    double stepVolume = 0;
    std::uint64_t stream = 0;
};

/// The walk of one stock from the opening to `steps` steps into the
/// session; prices in whole cents within the day's limits, volume in
/// shares. `eachStep(k, day)` sees the day after each step k.
template <typename EachStep>
DayWalk walk(double lastClose, double typicalVolume, std::string_view code, std::uint64_t seed,
             int dayKey, int steps, EachStep&& eachStep) {
    DayWalk day;
    day.stream = mix(seed ^ mix(codeKey(code) ^ mix(dayKey)));
    day.ceiling = cents(lastClose * (1 + kDayLimit));
    day.floor = std::max(cents(lastClose * (1 - kDayLimit)), 0.01);
    auto priced = [&](double offset) {
        return std::clamp(cents(lastClose * (1 + offset)), day.floor, day.ceiling);
    };
    // Volume a step: the published day's volume spread over the session.
    day.stepVolume = std::max(typicalVolume, 1000.0) / kSessionSteps;

    double offset = kOpeningGap * unitAt(day.stream, 0);
    day.open = day.price = day.high = day.low = priced(offset);
    for (int k = 1; k <= steps; ++k) {
        offset = std::clamp(offset * (1 - kPullBack) + kStepSpread * unitAt(day.stream, 2 * k),
                            -kDayLimit, kDayLimit);
        day.price = priced(offset);
        day.high = std::max(day.high, day.price);
        day.low = std::min(day.low, day.price);
        const double traded =
            std::round(day.stepVolume * (1 + unitAt(day.stream, 2 * k + 1)) / 100) * 100;
        day.volume += traded;
        day.amount += traded * day.price;
        eachStep(k, day);
    }
    return day;
}

/// Five levels a side, a tick apart: the best bid at the price or a tick
/// under it, the best ask a tick above the best bid; each level's volume
/// whole lots that vary with the step. Levels past the day's limits are
/// empty.
void fillBook(std::vector<std::string>& fields, const DayWalk& day, int step);

std::vector<std::string> splitFields(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (true) {
        const std::size_t comma = text.find(',', pos);
        fields.emplace_back(text.substr(pos, comma - pos));
        if (comma == std::string_view::npos) return fields;
        pos = comma + 1;
    }
}

std::string price(double v) {
    return format("%.2f", v);
}

constexpr int kMorningOpen = (9 * 60 + 30) * 60, kMorningSeconds = 2 * 60 * 60;
constexpr int kAfternoonOpen = 13 * 60 * 60, kAfternoonClose = 15 * 60 * 60;

/// Seconds of the session gone at a second of the day.
int sessionSecondsAt(int secondOfDay) {
    if (secondOfDay < kMorningOpen) return 0;
    if (secondOfDay < kMorningOpen + kMorningSeconds) return secondOfDay - kMorningOpen;
    if (secondOfDay < kAfternoonOpen) return kMorningSeconds;
    if (secondOfDay < kAfternoonClose) return kMorningSeconds + secondOfDay - kAfternoonOpen;
    return kSessionSteps * kLiveStepSeconds;
}

/// The time of day of a second of the session ("HH:mm:ss"); the morning's
/// end is 11:30:00, the afternoon starts a second later at 13:00:01.
int clockSecondOfSession(int sessionSeconds) {
    return sessionSeconds <= kMorningSeconds ? kMorningOpen + sessionSeconds
                                             : kAfternoonOpen + sessionSeconds - kMorningSeconds;
}

std::string clockText(int secondOfDay, bool withSeconds) {
    return withSeconds ? format("%02d:%02d:%02d", secondOfDay / 3600, secondOfDay / 60 % 60,
                                secondOfDay % 60)
                       : format("%02d:%02d", secondOfDay / 3600, secondOfDay / 60 % 60);
}

struct StoredQuote {
    std::string head, tail;  // up to and including `="`, from the closing quote on
    std::vector<std::string> fields;
    double lastClose = 0;
};

/// The stored line's fields, or nothing for a line that is not a quote or
/// one without a price.
std::optional<StoredQuote> storedQuoteOf(std::string_view line) {
    const std::size_t open = line.find("=\"");
    const std::size_t close = line.rfind('"');
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open + 1)
        return std::nullopt;
    StoredQuote q;
    q.head = std::string(line.substr(0, open + 2));
    q.tail = std::string(line.substr(close));
    q.fields = splitFields(line.substr(open + 2, close - open - 2));
    q.lastClose = leadingDouble(q.fields.size() > 3 ? q.fields[3] : "");
    if (q.fields.size() < kQuoteFields || !(q.lastClose >= 0.01)) return std::nullopt;
    return q;
}

void noStep(int, const DayWalk&) {}

}  // namespace

bool isTradingSession(const LocalDateTime& t) {
    if (!isTradingDay(t)) return false;
    const int minute = t.hour * 60 + t.minute;
    return (minute >= 9 * 60 + 30 && minute < 11 * 60 + 30) ||
           (minute >= 13 * 60 && minute < 15 * 60);
}

std::optional<LiveMoment> liveMomentAt(LiveMarket mode, const LocalDateTime& t,
                                       std::uint64_t seed) {
    const int secondOfDay = (t.hour * 60 + t.minute) * 60 + t.second;
    int sessionSeconds = sessionSecondsAt(secondOfDay);
    switch (mode) {
        case LiveMarket::Off:
            return std::nullopt;
        case LiveMarket::SessionHours:
            if (!isTradingDay(t) || secondOfDay < kMorningOpen) return std::nullopt;
            break;
        case LiveMarket::Always:
            if (secondOfDay < kMorningOpen || secondOfDay >= kAfternoonClose)
                sessionSeconds = kMorningSeconds + secondOfDay % kMorningSeconds;
            break;
    }
    LiveMoment moment;
    moment.seed = seed;
    moment.day = t.year * 10000 + t.month * 100 + t.day;
    moment.step = sessionSeconds / kLiveStepSeconds;
    moment.date = formatDate(t);
    moment.time = clockText(clockSecondOfSession(moment.step * kLiveStepSeconds), true);
    return moment;
}

namespace {

void fillBook(std::vector<std::string>& fields, const DayWalk& day, int step) {
    const std::uint64_t bookStream = mix(day.stream ^ 0x5bd1e995ULL);
    const double bestBid =
        unitAt(bookStream, std::uint64_t(step) * 11) > 0 ? day.price : cents(day.price - 0.01);
    // A lot or more at every level, more further from the price on average.
    auto volumeAt = [&](int level, int side) {
        const double u = unitAt(bookStream, std::uint64_t(step) * 11 + 1 + 2 * level + side);
        return std::max(100.0, std::round(day.stepVolume * (1 + level) * (1.2 + u) / 100) * 100);
    };
    for (int level = 0; level < 5; ++level) {
        const double bid = cents(bestBid - 0.01 * level), ask = cents(bestBid + 0.01 * (level + 1));
        const bool bidShown = bid >= day.floor, askShown = ask <= day.ceiling;
        fields[10 + 2 * level] = format("%.0f", bidShown ? volumeAt(level, 0) : 0.0);
        fields[11 + 2 * level] = price(bidShown ? bid : 0.0);
        fields[20 + 2 * level] = format("%.0f", askShown ? volumeAt(level, 1) : 0.0);
        fields[21 + 2 * level] = price(askShown ? ask : 0.0);
    }
    fields[6] = fields[11];
    fields[7] = fields[21];
}

}  // namespace

std::string movedQuoteLine(std::string_view storedLine, std::string_view code,
                           const LiveMoment& moment) {
    std::optional<StoredQuote> stored = storedQuoteOf(storedLine);
    if (!stored) return std::string(storedLine);
    std::vector<std::string>& fields = stored->fields;
    const double lastClose = stored->lastClose;

    const DayWalk day = walk(lastClose, leadingDouble(fields[8]), code, moment.seed, moment.day,
                             moment.step, noStep);
    fields[1] = price(day.open);
    fields[2] = price(lastClose);
    fields[3] = price(day.price);
    fields[4] = price(day.high);
    fields[5] = price(day.low);
    fields[8] = format("%.0f", day.volume);
    fields[9] = format("%.0f", day.amount);
    fillBook(fields, day, moment.step);
    fields[30] = moment.date;
    fields[31] = moment.time;

    std::string out = stored->head;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        out += fields[i];
    }
    out += stored->tail;
    return out;
}

std::vector<LiveMinute> liveMinutes(std::string_view storedLine, std::string_view code,
                                    const LiveMoment& moment) {
    const std::optional<StoredQuote> stored = storedQuoteOf(storedLine);
    if (!stored) return {};
    constexpr int kStepsPerMinute = 60 / kLiveStepSeconds;
    std::vector<LiveMinute> minutes;
    double volumeBefore = 0;
    auto close = [&](int step, const DayWalk& day) {
        const int minute = (step - 1) / kStepsPerMinute;  // the step ends within it
        LiveMinute m;
        m.time = clockText(clockSecondOfSession(minute * 60 + (minute >= 120 ? 1 : 0)), false);
        m.price = day.price;
        m.averagePrice = day.volume > 0 ? day.amount / day.volume : day.price;
        m.volume = day.volume - volumeBefore;
        volumeBefore = day.volume;
        minutes.push_back(std::move(m));
    };
    walk(stored->lastClose, leadingDouble(stored->fields[8]), code, moment.seed, moment.day,
         moment.step, [&](int k, const DayWalk& day) {
             if (k % kStepsPerMinute == 0 || k == moment.step) close(k, day);
         });
    return minutes;
}

}  // namespace orvane::server
