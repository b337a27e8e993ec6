#pragma once
// The day's intraday line (分时) of one stock: a point a minute of the
// four-hour session with the lunch break closed up (minute 0 is 9:30, 119
// is 11:29, 120 is 13:00, 239 is 14:59), against the previous close. What
// the chart draws and its crosshair reads; plain C++.

#include <optional>
#include <string>
#include <vector>

namespace orvane::chart {

inline constexpr int kIntradayMinutes = 240;

struct IntradayPoint {
    int minute = 0;
    double price = 0;         ///< at the minute's end, or the last seen in it
    double averagePrice = 0;  ///< of the day so far
    double volume = 0;        ///< shares traded within the minute
};

struct IntradayLine {
    double previousClose = 0;
    std::vector<IntradayPoint> points;  ///< by minute, each minute once
    bool suspended = false;
    /// Points sampled by the program from its own quotes: the line starts
    /// when it started to watch ("HH:mm"), not at the opening.
    std::optional<std::string> sampledSince;

    /// The point of a minute, or nothing when the line has none there.
    const IntradayPoint* pointAt(int minute) const;
    /// Records a price seen during `minute`: the minute's point is made or
    /// moved (minutes arrive in order; an earlier one is ignored).
    void sample(int minute, double price, double averagePrice, double volume);
};

/// "HH:mm" of a session minute (its start).
std::string intradayMinuteText(int minute);

/// The session minute at a time of day, or nothing outside the session.
std::optional<int> intradayMinuteAt(int hour, int minute);

/// The price range the chart shows: symmetric about the previous close, as
/// wide as the farthest price or average from it, at least 1% each way.
struct IntradayRange {
    double low = 0, high = 0;
    double maxVolume = 0;
};
IntradayRange intradayRange(const IntradayLine& line);

/// What the crosshair tells at a minute: time, price, change in percent
/// from the previous close, volume in lots (the terminals' unit).
struct IntradayFocus {
    std::string time;
    double price = 0, changePercent = 0, averagePrice = 0, volumeLots = 0;
};
std::optional<IntradayFocus> intradayFocusAt(const IntradayLine& line, int minute);

/// 涨速: the change in percent of the last price against the price five
/// minutes before it (the first point when the line is shorter); nothing
/// with fewer than two points.
std::optional<double> riseSpeed(const IntradayLine& line);

}  // namespace orvane::chart
