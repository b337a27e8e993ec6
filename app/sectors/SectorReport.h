#pragma once
// The sector report of the main window: the text built from one sector's
// screening (how many of its stocks are in an up-trend today and five
// trading days ago, the important-notice line, the two gain rankings and
// the tip box), the codes it picks, the report file's name, and the texts of
// the sector pop-up and the composite batch. Pure.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "orvane/core/LocalTime.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

struct SectorScreening {
    std::string group;
    /// Members scoring 91 or more: the report's "analysed" count.
    int processed = 0;
    /// The members in an up-trend today, and five trading days ago.
    std::vector<StockRecord> today, before5;
};

struct SectorReportText {
    std::string text;
    /// The codes of the first seven ranked records gaining more than 3%.
    std::vector<std::string> pickedCodes;
};

/// The report for a ranking window of 5 or 10 days (any other value ranks
/// by 10 days first); nothing when no member is in an up-trend. `nameOf`
/// gives a code's name, or nothing.
std::optional<SectorReportText> sortPlantStock(
    const SectorScreening& screening, int window,
    const std::function<std::optional<std::string>(const std::string&)>& nameOf);

/// "<group>_yyyy-MM-dd HH.mm.ss.txt".
std::string sectorReportFileName(const std::string& group, const LocalDateTime& at);

/// "%@ 总共有%d 只股票".
std::string sectorSizeText(const std::string& group, int size);

/// The composite batch's status line: "上涨趋势:" and the rising codes, then
/// "盘整准备突破:" and the breaking-out codes, each followed by ",".
std::string compositeBatchText(const std::vector<std::string>& rising,
                               const std::vector<std::string>& breakingOut);

}  // namespace orvane::app
