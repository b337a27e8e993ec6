#pragma once
// The whole market's day's results from the data server, in one request.

#include <stop_token>
#include <string>

#include "orvane/market/DayResults.h"

namespace orvane {

struct FetchedDayResults {
    std::vector<DayResult> results;
    std::size_t refusedLines = 0;
    /// Why there are none: the server did not answer, has no such file (a
    /// tree published before it existed) or sent something else.
    std::string error;
};

/// A synchronous GET, cancelled when `stop` is requested.
FetchedDayResults fetchDayResults(std::stop_token stop = {});

}  // namespace orvane
