#pragma once
// Rating the whole market from the day's rising and falling stocks: points
// per stock, the rising- and falling-sector reports, the status line with its
// verdict, and the sell signal of a held stock against the falling sectors.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/core/LocalTime.h"
#include "orvane/core/StyledText.h"
#include "orvane/reports/SectorAggregation.h"

namespace orvane {

/// Score points of one rising stock with a change of `g` percent.
std::int32_t risingStockPoints(float g);
/// Score points of one falling stock with a change of `g` percent.
std::int32_t fallingStockPoints(float g);
/// The change in percent, single precision.
float dayChangePercent(const StockRecord& stock);

struct SectorReport {
    std::string text;
    std::int32_t strong = 0;  // groups at or above the strong share
    SectorCount count;
};

/// The rising-sector report; adds the stocks' points and 10 x strong - 10.
SectorReport risingSectorReport(const std::vector<StockRecord>& rising, const SectorGroups& groups,
                                std::int32_t& score, const LocalDateTime& now);
/// The falling-sector report; adds the stocks' points and 10 - 10 x strong.
SectorReport fallingSectorReport(const std::vector<StockRecord>& falling,
                                 const SectorGroups& groups, std::int32_t& score);

/// A row of the market-state table: the verdict on a market score, with
/// the status line's font and colour.
struct MarketState {
    const char* verdict;
    StyledText::Font font;
    std::uint32_t colour;
};
const MarketState& marketStateOf(std::int32_t score);

StyledText marketStatusLine(std::int32_t strongUp, std::int32_t strongDown, std::size_t rising,
                            std::size_t falling, std::int32_t score);

/// A held stock against the ranked falling groups: 1 when one of its groups
/// falls strongly, 10 when it is itself among a strong group's fallers, else
/// 0; `index` is the deciding group's position.
struct SellSignal {
    std::int32_t signal = 0;
    std::int32_t index = 0;
};
SellSignal getStockSellSingal(std::string_view code, std::string_view groupsOfStock,
                              const std::vector<GroupCount>& rankedFalling);

}  // namespace orvane
