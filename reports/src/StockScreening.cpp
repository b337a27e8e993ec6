#include "orvane/reports/StockScreening.h"

#include <chrono>
#include <optional>
#include <thread>

#include "orvane/analysis/AnalysisSession.h"
#include "orvane/core/Log.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"
#include "orvane/reports/ScreeningPicks.h"
#include "orvane/stocklib/QXStockLib.h"

namespace orvane {

namespace k = keys;

namespace {

constexpr auto kPauseAfterStock = std::chrono::milliseconds(10);

// One stock of a screening loop: its title to the delegate, the engine's
// per-stock state reset (a session opened and closed), the server record
// fetched.
std::optional<Dictionary> fetchScreenedStock(QXStockLib& lib, std::size_t total, std::size_t index,
                                             const std::string& code) {
    lib.withDelegate([&](QXStockLibUpdateDelegate& d) {
        d.updateGainsTitleDataDelegate(static_cast<int>(total), static_cast<int>(index + 1), code);
    });
    { AnalysisSession reset; }
    return lib.getOneStockDataInfoFormServer(code);
}

// The stock table shows the record (the loop waits for the main thread), and
// the engine's per-stock state is released.
void finishScreenedStock(QXStockLib& lib, const Dictionary& record) {
    MainThreadDispatcher::shared()->invokeAndWait([&] { updateStockTrendDict(lib, record); });
    AnalysisSession().termateQXUtility();
}

void copyKeys(Dictionary& to, const Dictionary& from, std::initializer_list<const char*> keys) {
    for (const char* key : keys)
        if (const Value* v = find(from, key)) to[key] = *v;
}

std::string elementCode(const Value& element, bool isUseDict) {
    if (!isUseDict) return element.string();
    return element.isDictionary() ? stringFor(element.dictionary(), k::STOCK_Code) : std::string();
}

std::string elementName(const Value& element, bool isUseDict, const std::string& code) {
    if (isUseDict && element.isDictionary())
        return stringFor(element.dictionary(), k::STOCK_SC_Name);
    // A plain code carries no name: the code table's.
    return CodeTable::shared().getStockCodeName(code).value_or("");
}

}  // namespace

void updateStockTrendDict(QXStockLib& lib, const Dictionary& record) {
    lib.withDelegate([&](QXStockLibUpdateDelegate& d) { d.updateStockTrendDictDelegate(record); });
}

Array filterMyStockArray(QXStockLib& lib, const Array& list, bool isUseDict,
                         std::int32_t breakScore, const std::function<bool()>& stop) {
    Array picked;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (stop && stop()) break;
        const std::string code = elementCode(list[i], isUseDict);
        if (!isValidStockCode(code)) continue;
        auto rec = fetchScreenedStock(lib, list.size(), i, code);
        if (!rec) continue;
        const ScreenedNumbers n = ScreenedNumbers::of(*rec);
        if (double{n.gain10} < 1.0) continue;

        Dictionary record{
            {k::STOCK_Code, code},
            {k::STOCK_SC_Name, elementName(list[i], isUseDict, code)},
            {k::KEY_Gain_5Days, n.gain5},
            {k::KEY_Gain_10Days, n.gain10},
            {k::KEY_Plate_Group, SectorGroups::shared().getMyPlateProprityFormCode(code)}};
        copyKeys(record, *rec, {k::STOCK_OpenPrice, k::STOCK_YesClosePrice, k::STOCK_closePrice});
        pickOwnStock(picked, std::move(record), n, breakScore);

        finishScreenedStock(lib, *rec);
        std::this_thread::sleep_for(kPauseAfterStock);
    }
    return picked;
}

Array processFilterStockFromSubPlateGroup(QXStockLib& lib, std::string_view group,
                                          std::int32_t& outProcessCount, Array& outBefor5Array,
                                          const std::atomic<bool>* stop) {
    const std::vector<std::string> codes = SectorGroups::shared().groupMemberCodes(group);
    Array picked;
    Array before;
    std::int32_t high = 0;
    for (std::size_t i = 0; i < codes.size() && !(stop && *stop); ++i) {
        const std::string& code = codes[i];
        auto rec = fetchScreenedStock(lib, codes.size(), i, code);
        if (!rec) continue;
        const ScreenedNumbers n = ScreenedNumbers::of(*rec);
        if (n.score >= 91) {
            ++high;
            ORVANE_LOG("%d: %s", high, code.c_str());
        }
        if (const Value* b5 = find(*rec, k::STOCK_DICTINFO_Before5Days)) {
            ORVANE_LOG("%d: %s", high, describe(*b5).c_str());
            const std::int32_t t =
                b5->isDictionary() ? intFor(b5->dictionary(), k::STOCK_Trend) : 0;
            if (t == 1000 || t == 1001 || t == 1) before.push_back(*b5);
        }

        Dictionary full{
            {k::STOCK_Code, code},
            {k::STOCK_SC_Name, CodeTable::shared().getStockCodeName(code).value_or("")},
            {k::KEY_Plate_Group, SectorGroups::shared().getMyPlateProprityFormCode(code)}};
        copyKeys(full, *rec,
                 {k::STOCK_Trend, k::KEY_Gain_5Days, k::KEY_Gain_10Days, k::STOCK_DATE,
                  k::STOCK_HighPrice, k::STOCK_LowPrice, k::STOCK_OpenPrice, k::STOCK_YesClosePrice,
                  k::STOCK_closePrice, k::STOCK_DICTINFO_Before5Days, k::STOCK_Trend_ModeB});
        pickSectorStock(picked, full, n);

        finishScreenedStock(lib, *rec);
    }
    outProcessCount = high;
    outBefor5Array = std::move(before);
    return picked;
}

}  // namespace orvane
