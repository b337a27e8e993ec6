#include "orvane/reports/SectorAggregation.h"

#include <algorithm>
#include <unordered_map>

#include "orvane/core/ChineseCollation.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

Dictionary GroupCount::toRecord() const {
    using namespace keys;
    Dictionary record{
        {KEY_Plate_Group, name}, {KEY_Plate_Group_Index, index}, {KEY_Plate_Group_NAME, codes}};
    if (name == kNoGroup)
        record[KEY_Plate_Group_ALL_NUM] = "100";
    else
        record[KEY_Plate_Group_ALL_NUM] = allNum;
    return record;
}

SectorCount countSectors(const std::vector<StockRecord>& list, const SectorGroups& groups,
                         const std::function<void(const StockRecord&)>& perStock) {
    SectorCount out;
    for (const StockRecord& stock : list) {
        const std::string& code = stock.code;
        const std::string names = groups.getMyPlateProprityFormCode(code);
        for (std::string_view group : splitOn(names, ','))
            out.memberships.push_back({code, std::string(group), stock.yesClosePrice.value_or(""),
                                       stock.closePrice.value_or("")});
        if (perStock) perStock(stock);
    }
    ChineseCollator collator;
    std::stable_sort(
        out.memberships.begin(), out.memberships.end(),
        [&](const Membership& a, const Membership& b) { return collator.less(a.group, b.group); });

    std::vector<GroupCount> all;
    for (const std::string& name : groups.getPlateGroupNameArray())
        all.push_back({name, 0, "", groups.getPlantGroupNum(name)});
    all.push_back({kNoGroup, 0, "", 100});
    std::unordered_multimap<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < all.size(); ++i) byName.emplace(all[i].name, i);
    for (const Membership& m : out.memberships) {
        auto [first, last] = byName.equal_range(m.group);
        for (auto it = first; it != last; ++it) {
            GroupCount& g = all[it->second];
            g.codes = g.index <= 0 ? m.code : g.codes + "," + m.code;
            ++g.index;
        }
    }
    for (GroupCount& g : all)
        if (g.index > 0 && g.allNum > 0) out.ranked.push_back(std::move(g));
    std::stable_sort(out.ranked.begin(), out.ranked.end(),
                     [](const GroupCount& a, const GroupCount& b) {
                         return a.orderingShare() > b.orderingShare();
                     });
    return out;
}

float getStockPercentRaise(std::string_view code, const std::vector<Membership>& records) {
    for (const Membership& m : records) {
        if (m.code != code) continue;
        const float close = Value(m.close).toFloat(), yesClose = Value(m.yesClose).toFloat();
        return ((close - yesClose) * 100.0f) / close;
    }
    return 0.0f;
}

}  // namespace orvane
