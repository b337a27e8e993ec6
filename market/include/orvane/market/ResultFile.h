#pragma once
// The data server's stock result files (one "key=value" a line) turned into
// stock records, with the model-B notice and the description text.

#include <cstdint>
#include <optional>
#include <string_view>

#include "orvane/market/StockRecord.h"

namespace orvane {

/// Today's result file: the full record with its before-5-days record and
/// description; nothing unless "curStockCode=" is exactly 6 characters long.
/// When a model flag is set, posts the model-B notice with `sender` as object.
std::optional<StockRecord> parseRetStockServerData(std::string_view text, const void* sender);

/// An earlier day's result file: no before-5-days record, no code check;
/// nothing when the volume is below 10 or both the previous close and the
/// close are below 0.01.
std::optional<StockRecord> parseRetStockHistordayData(std::string_view text, const void* sender);

/// The one-line Chinese description of a record.
std::string stockDescription(std::int32_t trend, std::int32_t score, float gain5, float gain10,
                             bool modeB);

}  // namespace orvane
