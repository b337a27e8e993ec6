#pragma once
// Counting a day's rising (or falling) stocks per sector group: one
// membership a (stock, group) pair, one record a group with its count, the
// counted codes and its size, ranked by the share of the group that moved.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "orvane/core/Value.h"
#include "orvane/market/StockRecord.h"

namespace orvane {

class SectorGroups;

/// The name of the record of stocks that belong to no group.
inline constexpr const char* kNoGroup = "NONE";

struct Membership {
    std::string code;
    std::string group;
    std::string yesClose, close;  // as the list holds them
};

struct GroupCount {
    std::string name;
    std::int32_t index = 0;   // listed stocks of the group
    std::string codes;        // their codes joined by ","
    std::int32_t allNum = 0;  // the group's size ("NONE": 100)

    /// Share in percent: the double for ordering, the truncated quotient as a
    /// float for the report lines and thresholds.
    double orderingShare() const { return allNum > 0 ? index * 100.0 / allNum : 0.0; }
    float reportShare() const {
        return allNum > 0 ? static_cast<float>(index * 100 / allNum) : 0.0f;
    }
    Dictionary toRecord() const;
};

struct SectorCount {
    std::vector<Membership> memberships;  // sorted by group name
    std::vector<GroupCount> ranked;       // counted groups, largest share first
};

/// Counts the stocks of `list` over the groups;
/// `perStock` sees every stock first, in list order. Groups of size 0 are
/// left out of the ranking (their share would be undefined).
SectorCount countSectors(const std::vector<StockRecord>& list, const SectorGroups& groups,
                         const std::function<void(const StockRecord&)>& perStock = {});

/// (close - previous close) x 100 / close of the first record of `code`; 0
/// when there is none.
float getStockPercentRaise(std::string_view code, const std::vector<Membership>& records);

}  // namespace orvane
