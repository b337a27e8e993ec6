#include "orvane/chart/IntradayLine.h"

#include <algorithm>
#include <cmath>

#include "orvane/core/NumberText.h"

namespace orvane::chart {

namespace {
constexpr int kMorningMinutes = 120;
constexpr int kRiseSpeedMinutes = 5;
constexpr double kLotShares = 100.0;
}  // namespace

const IntradayPoint* IntradayLine::pointAt(int minute) const {
    auto it = std::lower_bound(points.begin(), points.end(), minute,
                               [](const IntradayPoint& p, int m) { return p.minute < m; });
    return it != points.end() && it->minute == minute ? &*it : nullptr;
}

void IntradayLine::sample(int minute, double price, double averagePrice, double volume) {
    if (minute < 0 || minute >= kIntradayMinutes) return;
    if (!points.empty() && points.back().minute > minute) return;
    if (points.empty() || points.back().minute < minute)
        points.push_back({minute, price, averagePrice, volume});
    else
        points.back() = {minute, price, averagePrice, volume};
}

std::string intradayMinuteText(int minute) {
    const int clock =
        minute < kMorningMinutes ? 9 * 60 + 30 + minute : 13 * 60 + minute - kMorningMinutes;
    return format("%02d:%02d", clock / 60, clock % 60);
}

std::optional<int> intradayMinuteAt(int hour, int minute) {
    const int m = hour * 60 + minute;
    if (m >= 9 * 60 + 30 && m < 11 * 60 + 30) return m - (9 * 60 + 30);
    if (m >= 13 * 60 && m < 15 * 60) return kMorningMinutes + m - 13 * 60;
    return std::nullopt;
}

IntradayRange intradayRange(const IntradayLine& line) {
    const double base = line.previousClose > 0 ? line.previousClose
                        : line.points.empty()  ? 1.0
                                               : line.points.front().price;
    double reach = base * 0.01;
    IntradayRange range;
    for (const IntradayPoint& p : line.points) {
        reach = std::max({reach, std::abs(p.price - base), std::abs(p.averagePrice - base)});
        range.maxVolume = std::max(range.maxVolume, p.volume);
    }
    range.low = base - reach;
    range.high = base + reach;
    return range;
}

std::optional<IntradayFocus> intradayFocusAt(const IntradayLine& line, int minute) {
    const IntradayPoint* p = line.pointAt(minute);
    if (!p) return std::nullopt;
    IntradayFocus f;
    f.time = intradayMinuteText(minute);
    f.price = p->price;
    f.averagePrice = p->averagePrice;
    f.changePercent = line.previousClose > 0 ? (p->price / line.previousClose - 1) * 100 : 0;
    f.volumeLots = p->volume / kLotShares;
    return f;
}

std::optional<double> riseSpeed(const IntradayLine& line) {
    if (line.points.size() < 2) return std::nullopt;
    const IntradayPoint& last = line.points.back();
    const IntradayPoint* before = &line.points.front();
    for (const IntradayPoint& p : line.points)
        if (p.minute <= last.minute - kRiseSpeedMinutes) before = &p;
    if (!(before->price > 0)) return std::nullopt;
    return (last.price / before->price - 1) * 100;
}

}  // namespace orvane::chart
