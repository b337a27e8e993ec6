#include "orvane/analysis/QXUtility.h"

#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/AnalysisSession.h"
#include "orvane/core/Clock.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

QXUtility& QXUtility::defQXUtility() {
    static QXUtility engine;
    return engine;
}

QXUtility::QXUtility() {
    initQXUtility();
}

AnalysisResult QXUtility::analyzeStock(std::string_view historyText, const Dictionary& today) {
    AnalysisSession session(*this);
    session.parseOneStockYahooHistoryFormToday(historyText, 0, today);
    return session.lastResult();
}

void QXUtility::initQXUtility() {
    lastResult_ = {};
    g_markScore = 100;
    todayStockDict_.clear();
    ensureDataDirectoryExists();
    ensureFolder(dataPath("trendupmode"));
}

void QXUtility::termateQXUtility() {
    lastResult_.score = 0;
    lastResult_.trend = 0;
    lastResult_.end5 = 1.0f;
    lastResult_.end10 = 1.0f;
    g_markScore = 0;
    todayStockDict_.clear();
}

std::uint32_t QXUtility::parseOneStockYahooHistoryFormToday(std::string_view text,
                                                            const Dictionary& stock) {
    todayStockDict_ = stock;
    ParsedHistory history(text);
    lastResult_ = orvane::parseOneStockYahooHistoryFormToday(
        HistoryView(history), todayTradeFrom(stock), toLocal(now()), [this](Dictionary info) {
            NotificationBus::shared().post(notifications::Notifiation_TREND_MODEB, this,
                                           std::move(info));
        });
    return static_cast<std::uint32_t>(lastResult_.trend);
}

Array QXUtility::searchStockSubKey(std::string_view key) const {
    return CodeTable::shared().searchStockSubKey(key);
}
std::optional<std::string> QXUtility::getStockCodeName(std::string_view code) const {
    return CodeTable::shared().getStockCodeName(code);
}
std::optional<std::string> QXUtility::getStockCodeFromName(std::string_view name) const {
    return CodeTable::shared().getStockCodeFromName(name);
}
bool QXUtility::isValidStockCode(std::string_view text) {
    return orvane::isValidStockCode(text);
}
std::vector<std::string> QXUtility::getPlateGroupNameArray() const {
    return SectorGroups::shared().getPlateGroupNameArray();
}
std::string QXUtility::getStockPlateProtity(std::string_view code) const {
    return SectorGroups::shared().getStockPlateProtity(code);
}
std::string QXUtility::getMyPlateProprityFormCode(std::string_view code) const {
    return SectorGroups::shared().getMyPlateProprityFormCode(code);
}
int QXUtility::getPlantGroupNum(std::string_view name) const {
    return SectorGroups::shared().getPlantGroupNum(name);
}

std::filesystem::path QXUtility::getLine_K_Path() {
    return orvane::getLine_K_Path();
}
std::filesystem::path QXUtility::getInspectStockPath() {
    return orvane::getInspectStockPath();
}
std::filesystem::path QXUtility::getHoldStockPath() {
    return orvane::getHoldStockPath();
}
std::filesystem::path QXUtility::getGainsPath() {
    return orvane::getGainsPath();
}

}  // namespace orvane
