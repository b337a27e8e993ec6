#pragma once
// Why a stock has no record of the day: the data server cannot be reached,
// the server knows no such stock, or its history is too short to judge.
// Asked after a fetch gave nothing, so that the user is told the real cause.

#include <string>
#include <string_view>

namespace orvane {

struct MissingRecord {
    enum class Cause { ServerUnreachable, UnknownStock, HistoryTooShort };
    Cause cause = Cause::HistoryTooShort;
    /// The transfer's error when the server cannot be reached.
    std::string serverProblem;
};

/// Probes the data server (within `timeoutSeconds`) and asks it for the
/// stock's history file: no answer, no such file (or an error page), or a
/// history the analysis found too short. Any thread; blocks.
MissingRecord explainMissingRecord(std::string_view code, double timeoutSeconds);

}  // namespace orvane
