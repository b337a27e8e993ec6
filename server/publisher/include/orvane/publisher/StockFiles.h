#pragma once
// The files the data server publishes for one stock below its tree:
// const/hisdata/stockdata/CODE.txt (the history), const/hisdata/retdata/CODE.txt
// (today's result) and const/hisdata/retdata/CODE/N.txt for the earlier days.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/publisher/DayVerdicts.h"

namespace orvane::server {

struct StockFilesReport {
    std::size_t files = 0;
    std::size_t unwritten = 0;           // files that could not be written
    std::vector<DayVerdict> modelBDays;  // days on which model B was found
    std::optional<DayVerdict> today;
};

/// Writes the stock's files below `tree` (folders created as needed);
/// `daysBack` earlier days. Codes must be valid six-digit codes.
StockFilesReport writeStockFiles(const std::filesystem::path& tree, std::string_view code,
                                 std::string_view historyText, int daysBack);

/// Writes a whole file in place, creating its folder; false when opening,
/// writing or closing it fails (`lastWriteFailure` says which and why). For files of a staging
/// folder, which is swapped in whole once every file is written.
bool writeTreeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace orvane::server
