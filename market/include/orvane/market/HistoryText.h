#pragma once
// Checks on a stock's history text (header line, then one day a line, newest
// first: date,open,high,low,close,volume,adj close).

#include <optional>
#include <string>
#include <string_view>

#include "orvane/core/LocalTime.h"

namespace orvane {

/// At least 20 lines (the empty element after a final line break counts);
/// line 2 at least 5 characters long and split on "," into more than 6 fields.
bool isValidRespondStr(std::string_view historyText);

/// The date of line 6, five trading days before the newest line; the current
/// date when line 6 is too short or has too few fields; nothing when its date
/// does not parse.
std::optional<LocalDateTime> getdateBefore5Day(std::string_view historyText);

/// The history as it stood during the session of `day` ("yyyy-MM-dd"): when
/// the newest line (line 1) is that day, the text without it; otherwise the
/// text as it is.
std::string historyBeforeDay(std::string_view historyText, std::string_view day);

/// Element `index` of the newline split, or nothing past the end.
std::optional<std::string_view> historyLine(std::string_view historyText, std::size_t index);

}  // namespace orvane
