#include "orvane/reports/ScreeningPicks.h"

#include "orvane/core/Log.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

namespace k = keys;

namespace {

bool isRising(std::int32_t trend) {
    return trend == 1000 || trend == 1001;
}

}  // namespace

ScreenedNumbers ScreenedNumbers::of(const Dictionary& r) {
    return {intFor(r, k::STOCK_Trend), intFor(r, k::STOCK_SCORE), floatFor(r, k::KEY_Gain_5Days),
            floatFor(r, k::KEY_Gain_10Days)};
}

void placeAcceleratingPick(Array& picked, Dictionary record, std::int32_t score) {
    if (picked.empty())
        picked.emplace_back(std::move(record));
    else if (score >= 169)
        picked.insert(picked.begin(), Value(std::move(record)));
    else
        picked.insert(picked.end() - 1, Value(std::move(record)));
}

bool pickOwnStock(Array& picked, Dictionary record, const ScreenedNumbers& n,
                  std::int32_t breakScore) {
    if (isRising(n.trend) && n.score >= breakScore) {
        placeAcceleratingPick(picked, std::move(record), n.score);
        return true;
    }
    if (n.trend == 1 && n.score >= 120 && double{n.gain10} > 3.0) {
        picked.emplace_back(std::move(record));
        return true;
    }
    if (n.trend == 3 && n.score >= 160 && double{n.gain5} > 8.0) {
        picked.emplace_back(std::move(record));
        return true;
    }
    return false;
}

bool pickSectorStock(Array& picked, const Dictionary& fullRecord, const ScreenedNumbers& n) {
    if (n.trend == 1 && n.score >= 110) {
        picked.emplace_back(fullRecord);
        return true;
    }
    if (isRising(n.trend) && n.score >= 133) {
        ORVANE_LOG("stock_Trend_Up_Acceleration  %s gainsPrice5 = %.2f gainsPrice10 = %.2f",
                   stringFor(fullRecord, k::STOCK_Code).c_str(), double{n.gain5}, double{n.gain10});
        placeAcceleratingPick(picked, fullRecord, n.score);
        return true;
    }
    if (n.trend == 3 && n.score >= 175 && double{n.gain5} > 8.2) {
        picked.emplace_back(shortSectorCandidate(fullRecord));
        return true;
    }
    return false;
}

Dictionary shortSectorCandidate(const Dictionary& full) {
    Dictionary d;
    for (const char* key : {k::STOCK_Code, k::STOCK_SC_Name, k::KEY_Gain_5Days, k::KEY_Gain_10Days,
                            k::KEY_Plate_Group, k::STOCK_DICTINFO_Before5Days})
        if (const Value* v = find(full, key)) d[key] = *v;
    return d;
}

}  // namespace orvane
