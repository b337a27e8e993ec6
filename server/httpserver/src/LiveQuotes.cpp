#include "orvane/httpserver/LiveQuotes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "orvane/core/NumberText.h"
#include "orvane/market/TradingCalendar.h"

namespace orvane::server {

namespace {

constexpr int kMinutesPerDay = 24 * 60;
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
};

/// The walk of one stock from step 0 of the day to `moment.step`; prices in
/// whole cents within the day's limits.
DayWalk walk(double lastClose, double typicalVolume, std::string_view code,
             const LiveMoment& moment) {
    const std::uint64_t stream = mix(moment.seed ^ mix(codeKey(code) ^ mix(moment.day)));
    const double ceiling = cents(lastClose * (1 + kDayLimit));
    const double floor = std::max(cents(lastClose * (1 - kDayLimit)), 0.01);
    auto priced = [&](double offset) {
        return std::clamp(cents(lastClose * (1 + offset)), floor, ceiling);
    };
    // Volume a step: the published day's volume spread over the session.
    const double stepVolume = std::max(typicalVolume, 1000.0) / (4 * 60 * 60 / kLiveStepSeconds);

    double offset = kOpeningGap * unitAt(stream, 0);
    DayWalk day;
    day.open = day.price = day.high = day.low = priced(offset);
    for (int k = 1; k <= moment.step; ++k) {
        offset = std::clamp(offset * (1 - kPullBack) + kStepSpread * unitAt(stream, 2 * k),
                            -kDayLimit, kDayLimit);
        day.price = priced(offset);
        day.high = std::max(day.high, day.price);
        day.low = std::min(day.low, day.price);
        const double traded = std::round(stepVolume * (1 + unitAt(stream, 2 * k + 1)));
        day.volume += traded;
        day.amount += traded * day.price;
    }
    return day;
}

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

}  // namespace

bool isTradingSession(const LocalDateTime& t) {
    if (!isTradingDay(t)) return false;
    const int minute = t.hour * 60 + t.minute;
    return (minute >= 9 * 60 + 30 && minute < 11 * 60 + 30) ||
           (minute >= 13 * 60 && minute < 15 * 60);
}

std::optional<LiveMoment> liveMomentAt(LiveMarket mode, const LocalDateTime& t,
                                       std::uint64_t seed) {
    if (mode == LiveMarket::Off || (mode == LiveMarket::SessionHours && !isTradingSession(t)))
        return std::nullopt;
    const int seconds = (t.hour * 60 + t.minute) * 60 + t.second;
    LiveMoment moment;
    moment.seed = seed;
    moment.day = t.year * 10000 + t.month * 100 + t.day;
    moment.step = std::clamp(seconds, 0, kMinutesPerDay * 60 - 1) / kLiveStepSeconds;
    const int start = moment.step * kLiveStepSeconds;
    moment.date = formatDate(t);
    moment.time = format("%02d:%02d:%02d", start / 3600, start / 60 % 60, start % 60);
    return moment;
}

std::string movedQuoteLine(std::string_view storedLine, std::string_view code,
                           const LiveMoment& moment) {
    std::string_view body = storedLine;
    const std::size_t open = body.find("=\"");
    const std::size_t close = body.rfind('"');
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open + 1)
        return std::string(storedLine);
    std::vector<std::string> fields = splitFields(body.substr(open + 2, close - open - 2));
    const double lastClose = leadingDouble(fields.size() > 3 ? fields[3] : "");
    if (fields.size() < kQuoteFields || !(lastClose >= 0.01)) return std::string(storedLine);

    const DayWalk day = walk(lastClose, leadingDouble(fields[8]), code, moment);
    fields[1] = price(day.open);
    fields[2] = price(lastClose);
    fields[3] = price(day.price);
    fields[4] = price(day.high);
    fields[5] = price(day.low);
    fields[6] = fields[7] = price(day.price);
    fields[8] = format("%.0f", day.volume);
    fields[9] = format("%.0f", day.amount);
    for (int level = 1; level <= 5; ++level) {
        fields[8 + 2 * level + 1] = price(std::max(day.price - 0.01 * level, 0.01));
        fields[18 + 2 * level + 1] = price(day.price + 0.01 * level);
    }
    fields[30] = moment.date;
    fields[31] = moment.time;

    std::string out(body.substr(0, open + 2));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        out += fields[i];
    }
    out += body.substr(close);
    return out;
}

}  // namespace orvane::server
