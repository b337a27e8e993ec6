#pragma once
// Which layout a user's market data is in, told from the folder and the
// files' headers: our own CODE.csv files, the desktop terminals' day files
// (vipdoc/{sh,sz}/lday/*.day), or the daily CSV of akshare, tushare or
// baostock (a file a stock, or one file for many).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class MarketLayout : std::uint8_t { Own, DayFiles, Akshare, Tushare, Baostock };

/// The layout as messages name it.
std::string_view marketLayoutName(MarketLayout layout);

/// Every layout known, for the message that refuses a folder in none.
std::string knownMarketLayouts();

struct MarketFiles {
    MarketLayout layout = MarketLayout::Own;
    std::vector<std::filesystem::path> files;  // sorted; each is read by its own header
};

/// The layout of `path` (a folder, the folder holding vipdoc/, vipdoc/
/// itself, or one file for the whole market) and the files to read; nothing,
/// with the reason and the layouts known in `problem`, when it is in none.
std::optional<MarketFiles> detectMarketLayout(const std::filesystem::path& path,
                                              std::string& problem);

}  // namespace orvane
