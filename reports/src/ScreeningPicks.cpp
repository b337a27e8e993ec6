#include "orvane/reports/ScreeningPicks.h"

#include "orvane/core/Log.h"

namespace orvane {

namespace {

bool isRising(std::int32_t trend) {
    return trend == 1000 || trend == 1001;
}

}  // namespace

ScreenedNumbers ScreenedNumbers::of(const StockRecord& r) {
    return {r.trend.value_or(0), r.score.value_or(0), r.gain5.value_or(0.0f),
            r.gain10.value_or(0.0f)};
}

void placeAcceleratingPick(std::vector<StockRecord>& picked, StockRecord record,
                           std::int32_t score) {
    if (picked.empty())
        picked.push_back(std::move(record));
    else if (score >= 169)
        picked.insert(picked.begin(), std::move(record));
    else
        picked.insert(picked.end() - 1, std::move(record));
}

bool pickOwnStock(std::vector<StockRecord>& picked, StockRecord record, const ScreenedNumbers& n,
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

bool pickSectorStock(std::vector<StockRecord>& picked, const StockRecord& fullRecord,
                     const ScreenedNumbers& n) {
    if (n.trend == 1 && n.score >= 110) {
        picked.emplace_back(fullRecord);
        return true;
    }
    if (isRising(n.trend) && n.score >= 133) {
        ORVANE_LOG("stock_Trend_Up_Acceleration  %s gainsPrice5 = %.2f gainsPrice10 = %.2f",
                   fullRecord.code.c_str(), double{n.gain5}, double{n.gain10});
        placeAcceleratingPick(picked, fullRecord, n.score);
        return true;
    }
    if (n.trend == 3 && n.score >= 175 && double{n.gain5} > 8.2) {
        picked.emplace_back(shortSectorCandidate(fullRecord));
        return true;
    }
    return false;
}

StockRecord shortSectorCandidate(const StockRecord& full) {
    StockRecord r;
    r.code = full.code;
    r.name = full.name;
    r.gain5 = full.gain5;
    r.gain10 = full.gain10;
    r.plateGroup = full.plateGroup;
    r.before5Days = full.before5Days;
    return r;
}

}  // namespace orvane
