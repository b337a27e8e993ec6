#pragma once
// The files that tell where a stock went ex-rights: an events file (code,
// date, cash_per_10, bonus_per_10, transfer_per_10, rights_per_10,
// rights_price) or a table of cumulative adjustment factors (ts_code,
// trade_date, adj_factor). Columns are found by their names; codes may carry
// an exchange ("600000.SH", "sh.600000", "sh600000"), dates may be written
// "20230510" or "2023-05-10".

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvane/market/ForwardAdjustment.h"

namespace orvane {

struct ExRightsEvents {
    std::map<std::string, std::vector<ExRightsEvent>> byCode;
    std::vector<std::string> problems;  // "line N: why; skipped"
    std::optional<std::string> fault;   // the whole file cannot be used
};
ExRightsEvents readExRightsEvents(std::string_view csv);

struct AdjustmentFactors {
    std::map<std::string, std::vector<std::pair<std::string, double>>> byCode;  // (date, factor)
    std::vector<std::string> problems;
    std::optional<std::string> fault;
};
AdjustmentFactors readAdjustmentFactors(std::string_view csv);

/// The same read from files: a file that cannot be read is a fault, and
/// every fault and problem names the file.
ExRightsEvents readExRightsEventsFile(const std::filesystem::path& path);
AdjustmentFactors readAdjustmentFactorsFile(const std::filesystem::path& path);

}  // namespace orvane
