#pragma once
// Today's minutes as the data server tells them at "min=sh600000,sz000001":
// one line a minute so far, "SYMBOL,HH:mm,price,average price,volume", the
// time the minute's start, the volume in shares.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct MinuteBar {
    int minute = 0;  ///< of the session: 0 is 9:30, 119 is 11:29, 120 is 13:00, 239 is 14:59
    double price = 0, averagePrice = 0, volume = 0;
};

/// The session's minute of a time of day ("HH:mm"), or nothing outside
/// 9:30–11:29 and 13:00–14:59.
std::optional<int> sessionMinuteOf(int hour, int minute);

/// The data server's address asking for the minutes of the valid codes.
std::string minutesRequestURL(std::string_view dataServer, const std::vector<std::string>& codes);

/// The minutes of each code, in the answer's order; lines that do not read
/// as a minute of the session are left out, so the answer of a server that
/// does not know the address reads as none.
std::map<std::string, std::vector<MinuteBar>> parseMinuteAnswer(std::string_view text);

}  // namespace orvane
