#include "lists/ScoreListRows.h"

#include <array>

#include "lists/RowFigures.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/StockKeys.h"

namespace orvane::app {

namespace {

constexpr std::array<const char*, kScoreSegments> kScoreListNames{
    "score_Score.plist", "score_ModeB.plist", "score_DoublePao.plist",
    "score_DoublePao_Happend.plist"};

}  // namespace

std::filesystem::path scoreListFile(const std::filesystem::path& gains, int segment) {
    if (segment < 0 || segment >= kScoreSegments) return {};
    return scoreListPath(gains, kScoreListNames[segment]);
}

RowCell scoreCell(const StockRecord& row, std::string_view column, const ScoreNameLookup& nameOf) {
    if (column == keys::STOCK_Code)
        return {nameAndCode(nameOf(row.code).value_or("(null)"), row.code), colours::black,
                CellFont::Label14};
    return {format("得分:  %d ", row.score.value_or(0)), colours::fallingGreen, CellFont::Table};
}

}  // namespace orvane::app
