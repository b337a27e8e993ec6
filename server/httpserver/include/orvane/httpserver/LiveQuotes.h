#pragma once
// The live demo market: the quote service moves each stock's price by a
// seeded random walk around its last close, so that the clients' lists show
// a market that moves. A stock's quote at one moment is a pure function of
// the seed, its code, the day and the time step (5 seconds), so every
// request within one step gets the same answer, whichever thread serves it.
// Published real data is served as it is: only the demo tree, or a tree
// served with --live, moves.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/core/LocalTime.h"

namespace orvane::server {

enum class LiveMarket {
    Off,           ///< the stored quote copies as they are
    SessionHours,  ///< moving during the session hours of a trading day
    Always,        ///< moving at any time (demonstrations)
};

/// Length of one step of the walk.
inline constexpr int kLiveStepSeconds = 5;

/// 9:30 to 11:30 and 13:00 to 15:00 of a trading day (TradingCalendar.h;
/// the end minute excluded).
bool isTradingSession(const LocalDateTime& t);

/// One step of the walk on one day.
struct LiveMoment {
    std::uint64_t seed = 1;
    int day = 0;             ///< yyyymmdd
    int step = 0;            ///< steps since local midnight
    std::string date, time;  ///< "yyyy-MM-dd", "HH:mm:ss" of the step's start
};

/// The step at `t`, or nothing when quotes stay as stored at that time.
std::optional<LiveMoment> liveMomentAt(LiveMarket mode, const LocalDateTime& t, std::uint64_t seed);

/// The stored quote line (one line, without its newline) moved to `moment`:
/// today's previous close is the stored price, and open, price, high, low,
/// volume, amount, the bid and ask levels, date and time follow the walk,
/// within plus or minus 10% of that close. A line that is not a quote, or a
/// suspended stock (no price), comes back unchanged.
std::string movedQuoteLine(std::string_view storedLine, std::string_view code,
                           const LiveMoment& moment);

}  // namespace orvane::server
