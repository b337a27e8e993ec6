#pragma once
// A market's stocks adjusted forward, each from the best source it has: the
// events file, then a vendor's factor table, then the factors or previous
// closes its own layout carried. Without adjustment, the ex-rights gaps the
// prices show are listed instead.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "orvane/market/AdjustmentInputs.h"
#include "orvane/market/DailyFolder.h"

namespace orvane {

struct AdjustmentSources {
    const ExRightsEvents* events = nullptr;
    const AdjustmentFactors* factors = nullptr;
};

/// The ex-rights files a user named (either path may be empty), read whole.
struct AdjustmentFiles {
    std::optional<ExRightsEvents> events;
    std::optional<AdjustmentFactors> factors;
    /// The first file that cannot be used, named, or nothing.
    std::optional<std::string> fault() const;
    /// The lines of both files skipped, each named with its file.
    std::vector<std::string> problems() const;
    AdjustmentSources sources() const;
};
AdjustmentFiles readAdjustmentFiles(const std::filesystem::path& events,
                                    const std::filesystem::path& factors);

struct MarketAdjustmentSummary {
    std::size_t stocksAdjusted = 0;       // stocks with at least one ex-rights day
    std::size_t exRightsDays = 0;         // steps applied, all stocks
    std::size_t stocksWithoutSource = 0;  // no events, factors or previous closes
};

/// Adjusts every stock's bars in place, on `jobs` threads (0: one per
/// processor). No copy of the bars as traded is kept: `asTraded`, when
/// given, is called with each stock just before it is adjusted, on the
/// thread adjusting it. The previous closes and factors the stocks carried
/// are used up.
MarketAdjustmentSummary adjustMarketForward(
    std::vector<StockSeries>& stocks, const AdjustmentSources& sources,
    const std::function<void(const StockSeries&)>& asTraded = {}, int jobs = 1);

/// Why an adjustment asked for of `stocks` stocks came to nothing: not one
/// of them had a source of its ex-rights days.
std::optional<std::string> adjustmentSourceProblem(const MarketAdjustmentSummary& summary,
                                                   std::size_t stocks);

/// The ex-rights gaps of unadjusted stocks, described one a line, oldest
/// stock code first. A stock counts as newly listed when its first day comes
/// after the market's first day. A list's names tell today's risk warnings,
/// not those of past days, so every stock is held to its board's wider
/// limit: a gap beyond it is beyond the narrower one too.
std::vector<std::string> describeExRightsGaps(const std::vector<StockSeries>& stocks);

}  // namespace orvane
