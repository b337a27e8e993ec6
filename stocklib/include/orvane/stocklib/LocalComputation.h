#pragma once
// A stock's record computed from its history text when the data server has no
// result for it: today's verdict with its score, the 5- and 10-day gains and
// the before-5-days record.

#include <optional>
#include <string_view>

#include "orvane/market/StockRecord.h"

namespace orvane {

/// From a quote record (code, date and the five prices) and the history text:
/// nothing when the text fails the validity check. Runs the shared engine in
/// a session of its own (which posts the model-B notice when found).
std::optional<StockRecord> computeLocalRecord(const StockRecord& quoteRecord,
                                              std::string_view historyText);

/// The verdict as of the day five trading days back (line 6 of the text): the
/// engine run on the history as it stood that day, with that day's prices,
/// at that day's close (15:00). No model-B notice is posted for it.
StockRecord beforeFiveDaysRecord(std::string_view code, std::string_view historyText);

}  // namespace orvane
