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
std::optional<StockRecord> fetchScreenedStock(QXStockLib& lib, std::size_t total, std::size_t index,
                                              const std::string& code) {
    lib.withDelegate([&](QXStockLibUpdateDelegate& d) {
        d.updateGainsTitleDataDelegate(static_cast<int>(total), static_cast<int>(index + 1), code);
    });
    { AnalysisSession reset; }
    return lib.getOneStockDataInfoFormServer(code);
}

// The stock table shows the record (the loop waits for the main thread), and
// the engine's per-stock state is released.
void finishScreenedStock(QXStockLib& lib, const StockRecord& record) {
    MainThreadDispatcher::shared()->invokeAndWait([&] { updateStockTrendDict(lib, record); });
    AnalysisSession().termateQXUtility();
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

void updateStockTrendDict(QXStockLib& lib, const StockRecord& record) {
    lib.withDelegate([&](QXStockLibUpdateDelegate& d) { d.updateStockTrendDictDelegate(record); });
}

std::vector<StockRecord> filterMyStockArray(QXStockLib& lib, const Array& list, bool isUseDict,
                                            std::int32_t breakScore,
                                            const std::function<bool()>& stop) {
    std::vector<StockRecord> picked;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (stop && stop()) break;
        const std::string code = elementCode(list[i], isUseDict);
        if (!isValidStockCode(code)) continue;
        auto rec = fetchScreenedStock(lib, list.size(), i, code);
        if (!rec) continue;
        const ScreenedNumbers n = ScreenedNumbers::of(*rec);
        if (double{n.gain10} < 1.0) continue;

        StockRecord record;
        record.code = code;
        record.name = elementName(list[i], isUseDict, code);
        record.gain5 = n.gain5;
        record.gain10 = n.gain10;
        record.plateGroup = SectorGroups::shared().getMyPlateProprityFormCode(code);
        record.openPrice = rec->openPrice;
        record.yesClosePrice = rec->yesClosePrice;
        record.closePrice = rec->closePrice;
        pickOwnStock(picked, std::move(record), n, breakScore);

        finishScreenedStock(lib, *rec);
        std::this_thread::sleep_for(kPauseAfterStock);
    }
    return picked;
}

std::vector<StockRecord> processFilterStockFromSubPlateGroup(
    QXStockLib& lib, std::string_view group, std::int32_t& outProcessCount,
    std::vector<StockRecord>& outBefor5Array, const std::atomic<bool>* stop) {
    const std::vector<std::string> codes = SectorGroups::shared().groupMemberCodes(group);
    std::vector<StockRecord> picked;
    std::vector<StockRecord> before;
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
        if (const auto& b5 = rec->before5Days) {
            ORVANE_LOG("%d: %s", high, describe(b5->toDictionary()).c_str());
            const std::int32_t t = b5->trend.value_or(0);
            if (t == 1000 || t == 1001 || t == 1) before.push_back(*b5);
        }

        StockRecord full;
        full.code = code;
        full.name = CodeTable::shared().getStockCodeName(code).value_or("");
        full.plateGroup = SectorGroups::shared().getMyPlateProprityFormCode(code);
        full.trend = rec->trend;
        full.gain5 = rec->gain5;
        full.gain10 = rec->gain10;
        full.date = rec->date;
        full.highPrice = rec->highPrice;
        full.lowPrice = rec->lowPrice;
        full.openPrice = rec->openPrice;
        full.yesClosePrice = rec->yesClosePrice;
        full.closePrice = rec->closePrice;
        full.before5Days = rec->before5Days;
        full.modeB = rec->modeB;
        pickSectorStock(picked, full, n);

        finishScreenedStock(lib, *rec);
    }
    outProcessCount = high;
    outBefor5Array = std::move(before);
    return picked;
}

}  // namespace orvane
