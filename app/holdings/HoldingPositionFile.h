#pragma once
// The holdings' positions, kept in a file of their own beside the holdings
// folder ("HoldStockCost.plist" in the data folder: a dictionary from code
// to {"cost", "shares"}), so that the holding files stay the quote lines
// they are. Saved atomically; a file that holds anything else is set aside
// with a note, as the application's other property lists are.

#include <filesystem>
#include <optional>
#include <string>

#include "holdings/HoldingProfit.h"

namespace orvane::app {

inline constexpr const char* kPositionFileName = "HoldStockCost.plist";

/// "DATA/HoldStockCost.plist".
std::filesystem::path positionFile();

struct PositionsRead {
    Positions positions;
    /// The status line's note when the file was set aside; empty otherwise.
    std::string note;
};

PositionsRead readPositions(const std::filesystem::path& file);
/// Nothing once written, else why not.
std::optional<std::string> savePositions(const Positions& positions,
                                         const std::filesystem::path& file);

}  // namespace orvane::app
