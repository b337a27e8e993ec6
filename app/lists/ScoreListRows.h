#pragma once
// The rules of the score lists: the server's four ranked lists in the Gains
// folder, one per segment, and how their rows read.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "lists/RowCell.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

inline constexpr int kScoreSegments = 4;

/// The file of a segment's list ("todayStr_score_Score.plist", ...) in the
/// Gains folder; empty for a segment outside 0..3.
std::filesystem::path scoreListFile(const std::filesystem::path& gains, int segment);

/// A stock's short name from the code table; nothing for a code it lacks.
using ScoreNameLookup = std::function<std::optional<std::string>(std::string_view code)>;

/// "STOCK_Code": the name and the code, black, label font at 14 points
/// (a code the table lacks shows "(null)" for its name); every other
/// column: "得分:  %d " of the row's score, dark green.
RowCell scoreCell(const StockRecord& row, std::string_view column, const ScoreNameLookup& nameOf);

}  // namespace orvane::app
