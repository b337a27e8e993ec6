#pragma once
// The dated gains ranking report of Shanghai and Shenzhen: the screened
// stocks grouped by sector group, a tip box, the buy list, and the top 30 by
// 5-day and by 10-day gain; with the buy list and both rankings stored as
// property lists in the Gains folder.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/StockRecord.h"

namespace orvane {

class QXStockLib;

/// How many records each ranking keeps.
inline constexpr std::size_t kGainsRankingLength = 30;

struct GainsRankingReport {
    std::string text;                      // CR LF lines
    std::vector<StockRecord> fiveDaySort;  // the first 30 records by 5-day gain
    std::vector<StockRecord> tenDaySort;   // the first 30 records by 10-day gain
    std::vector<StockRecord> buy;          // the records of the buy list, in 5-day order
};

/// A stock's short name; nothing when the code table lacks the code.
using StockNameLookup = std::function<std::optional<std::string>(std::string_view code)>;

/// Composes the report of `records` (screening records with code, name,
/// 5- and 10-day gains and their sector groups joined by ","; an empty code
/// prints as "(null)") for the day
/// `date` ("yyyy-MM-dd"), counting over the sector groups `groupNames`.
GainsRankingReport composeGainsRankingReport(const std::vector<StockRecord>& records,
                                             const std::string& date,
                                             const std::vector<std::string>& groupNames,
                                             const StockNameLookup& nameOf);

/// The report's four files for `date` in the Gains folder `gains`.
struct GainsReportFiles {
    std::filesystem::path fiveDaySort, buy, tenDaySort, text;
    static GainsReportFiles forDate(const std::filesystem::path& gains, const std::string& date);
};

/// Writes the four files as one set (StagedFileSet.h): the old report is
/// replaced whole or stays whole. Nothing, or why not. The caller holds the
/// data folder's lock.
std::optional<std::string> writeGainsRankingReport(const GainsRankingReport& report,
                                                   const GainsReportFiles& files);

/// Where today's report was written, or why it was not (both empty: there
/// was nothing to report).
struct GainsReportOutcome {
    std::filesystem::path report;
    std::optional<std::string> failure;
};

/// Today's report over `records`: composed with the shared code table and
/// sector groups, written to the Gains folder under the data folder's lock,
/// the buy list handed to the library's delegate (on the calling thread),
/// the report opened through the workspace.
GainsReportOutcome sortHuShenGainsForText(QXStockLib& lib, const std::vector<StockRecord>& records);

}  // namespace orvane
