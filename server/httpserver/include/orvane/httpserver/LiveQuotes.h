#pragma once
// The live demo market: the quote service moves each stock's price by a
// seeded random walk around its last close, so that the clients' lists show
// a market that moves. The walk takes a step every 5 seconds of the session
// (9:30–11:30, 13:00–15:00) and holds still over the lunch break and after
// the close. A stock's quote at one moment is a pure function of the seed,
// its code, the day and the step, so every request within one step gets the
// same answer, whichever thread serves it. Published real data is served as
// it is: only the demo tree, or a tree served with --live, moves.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/core/LocalTime.h"

namespace orvane::server {

enum class LiveMarket {
    Off,           ///< the stored quote copies as they are
    SessionHours,  ///< the day's walk from 9:30 of a trading day on
    Always,        ///< moving at any time (demonstrations)
};

/// Length of one step of the walk.
inline constexpr int kLiveStepSeconds = 5;
/// Steps of the whole four-hour session.
inline constexpr int kSessionSteps = 4 * 60 * 60 / kLiveStepSeconds;

/// 9:30 to 11:30 and 13:00 to 15:00 of a trading day (TradingCalendar.h;
/// the end minute excluded).
bool isTradingSession(const LocalDateTime& t);

/// One step of the walk on one day.
struct LiveMoment {
    std::uint64_t seed = 1;
    int day = 0;   ///< yyyymmdd
    int step = 0;  ///< steps of the session gone (0 at 9:30, kSessionSteps at 15:00)
    std::string date,
        time;  ///< "yyyy-MM-dd", "HH:mm:ss" of the step's start on the session's clock
};

/// The step at `t`, or nothing when quotes stay as stored at that time
/// (never when live; with SessionHours, before 9:30 or on a closed day).
/// When always live, a time outside the session is shown on the session's
/// clock in the afternoon (13:00 plus the minutes past the last even hour),
/// so the demonstration always has a whole morning behind it.
std::optional<LiveMoment> liveMomentAt(LiveMarket mode, const LocalDateTime& t, std::uint64_t seed);

/// The stored quote line (one line, without its newline) moved to `moment`:
/// today's previous close is the stored price, and open, price, high, low,
/// volume (shares), amount (yuan), the bid and ask levels (a tick apart
/// around the price, with varying volumes), date and time follow the walk,
/// within plus or minus 10% of that close. A line that is not a quote, or a
/// suspended stock (no price), comes back unchanged.
std::string movedQuoteLine(std::string_view storedLine, std::string_view code,
                           const LiveMoment& moment);

/// One minute of the day's walk: its time ("HH:mm", the minute's start), the
/// price at its end (or now), the average price of the day so far, and the
/// shares traded in it.
struct LiveMinute {
    std::string time;
    double price = 0, averagePrice = 0, volume = 0;
};

/// The minutes of the session begun by `moment`, from the stored quote line
/// as movedQuoteLine moves it; none for a line that is not a quote or a
/// suspended stock.
std::vector<LiveMinute> liveMinutes(std::string_view storedLine, std::string_view code,
                                    const LiveMoment& moment);

}  // namespace orvane::server
