#pragma once
// Which fetched stocks a screening picks, and where in the picked list they
// go: the own-stock screening behind the gains ranking report, and the
// screening of one sector group.

#include <cstdint>
#include <vector>

#include "orvane/market/StockRecord.h"

namespace orvane {

/// The numbers of a server record a pick is decided on (absent ones 0).
struct ScreenedNumbers {
    std::int32_t trend = 0;
    std::int32_t score = 0;
    float gain5 = 0, gain10 = 0;

    static ScreenedNumbers of(const StockRecord& serverRecord);
};

/// An accelerating or breakout rise: appended to an empty list, put first
/// with a score of 169 or more, else just before the current last pick.
void placeAcceleratingPick(std::vector<StockRecord>& picked, StockRecord record,
                           std::int32_t score);

/// Own-stock screening: rises at or above `breakScore`, strong rises with a
/// score of 120 and a 10-day gain above 3, and strong consolidations with a
/// score of 160 and a 5-day gain above 8. True when picked.
bool pickOwnStock(std::vector<StockRecord>& picked, StockRecord record, const ScreenedNumbers& n,
                  std::int32_t breakScore);

/// Sector screening: strong rises with a score of 110 and rises with a score
/// of 133 (the full record), strong consolidations with a score of 175 and a
/// 5-day gain above 8.2 (the short record). True when picked.
bool pickSectorStock(std::vector<StockRecord>& picked, const StockRecord& fullRecord,
                     const ScreenedNumbers& n);

/// The short form of a sector candidate: code, name, gains, groups and the
/// before-5-days record.
StockRecord shortSectorCandidate(const StockRecord& fullRecord);

}  // namespace orvane
