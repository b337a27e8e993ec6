#include "orvane/analysis/QXUtility.h"

#include "orvane/analysis/Acceleration.h"
#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/HistoricalDay.h"
#include "orvane/analysis/ModelB.h"
#include "orvane/analysis/RiseMeasures.h"
#include "orvane/analysis/SidewaysRegion.h"
#include "orvane/analysis/StockScore.h"
#include "orvane/core/Clock.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

namespace {
LocalDateTime localNow() {
    return toLocal(now());
}
}  // namespace

QXUtility& QXUtility::defQXUtility() {
    static QXUtility engine;
    return engine;
}

QXUtility::QXUtility() {
    initQXUtility();
}

void QXUtility::initQXUtility() {
    std::lock_guard lock(mutex_);
    g_stockScore = 100;
    g_markScore = 100;
    g_stockTrend = 0;
    g_maxSildewayPrice5 = 1.0f;
    g_maxSildewayPrice10 = 1.0f;
    g_isModeB = false;
    todayStockDict_.clear();
    lastResult_ = {};
    ensureDataDirectoryExists();
    ensureFolder(dataPath("trendupmode"));
}

void QXUtility::termateQXUtility() {
    std::lock_guard lock(mutex_);
    g_stockScore = 0;
    g_markScore = 0;
    g_stockTrend = 0;
    g_maxSildewayPrice5 = 1.0f;
    g_maxSildewayPrice10 = 1.0f;
    todayStockDict_.clear();
}

void QXUtility::postModelBNotice(Dictionary userInfo) const {
    NotificationBus::shared().post(notifications::Notifiation_TREND_MODEB, this,
                                   std::move(userInfo));
}

AnalysisResult QXUtility::analyzeStock(std::string_view historyText, const Dictionary& today) {
    std::lock_guard lock(mutex_);
    initQXUtility();
    parseOneStockYahooHistoryFormToday(historyText, 0, today);
    return lastResult_;
}

std::uint32_t QXUtility::parseOneStockYahooHistoryFormToday(std::string_view text, std::int32_t,
                                                            const Dictionary& stock) {
    std::lock_guard lock(mutex_);
    g_isModeB = false;
    todayStockDict_ = stock;
    ParsedHistory history(text);
    lastResult_ = orvane::parseOneStockYahooHistoryFormToday(
        HistoryView(history), todayTradeFrom(stock), localNow(),
        [this](Dictionary info) { postModelBNotice(std::move(info)); });
    g_stockScore = lastResult_.score;
    g_stockTrend = static_cast<std::uint32_t>(lastResult_.trend);
    g_maxSildewayPrice5 = lastResult_.end5;
    g_maxSildewayPrice10 = lastResult_.end10;
    g_isModeB = lastResult_.modeB;
    return g_stockTrend;
}

std::uint32_t QXUtility::getStockTrend(std::string_view text, std::int32_t days, std::string_view,
                                       StockBox_Info* info, std::int32_t beforeToday) {
    ParsedHistory history(text);
    StockBox_Info box = windowStatistics(HistoryView(history), days, beforeToday);
    if (info) *info = box;
    return box.trend;
}

std::int32_t QXUtility::daysBefortoday(std::string_view text, std::string_view) {
    ParsedHistory history(text);
    return orvane::daysBefortoday(HistoryView(history), localNow());
}

std::optional<std::string> QXUtility::getHisdayResponseString(std::string_view text,
                                                              std::int64_t beforDay) {
    ParsedHistory history(text);
    return historicalDayText(HistoryView(history), beforDay);
}

std::optional<Dictionary> QXUtility::getHisdayTradeInfo(std::string_view text,
                                                        std::int64_t beforDay,
                                                        std::string_view code) {
    using namespace keys;
    ParsedHistory history(text);
    std::string_view date;
    auto trade = historicalDayTrade(HistoryView(history), beforDay, std::string(code), &date);
    if (!trade) return std::nullopt;
    return Dictionary{{STOCK_OpenPrice, trade->open},
                      {STOCK_closePrice, trade->close},
                      {STOCK_Code, trade->code},
                      {STOCK_DATE, std::string(date)},
                      {STOCK_YesClosePrice, trade->yesClose}};
}

float QXUtility::getHisdayMaxPrice(std::string_view text, std::int32_t lastDays,
                                   std::int32_t beforday) {
    ParsedHistory history(text);
    return orvane::getHisdayMaxPrice(HistoryView(history), lastDays, beforday);
}

bool QXUtility::isAcceleration(std::string_view text, const Dictionary& stock) {
    ParsedHistory history(text);
    return orvane::isAcceleration(HistoryView(history), todayTradeFrom(stock), localNow());
}

float QXUtility::calStockScore(std::string_view text, const Dictionary& stock) {
    std::lock_guard lock(mutex_);
    ParsedHistory history(text);
    return orvane::calStockScore(HistoryView(history), todayTradeFrom(stock), g_stockScore);
}

std::int32_t QXUtility::calStockScoreForComposite(std::string_view text, const Dictionary& stock) {
    std::lock_guard lock(mutex_);
    ParsedHistory history(text);
    return orvane::calStockScoreForComposite(HistoryView(history), todayTradeFrom(stock),
                                             g_stockScore);
}

std::int32_t QXUtility::getSlideWaysToScore(std::string_view text, const Dictionary& stock,
                                            std::uint32_t kind, std::int32_t* beforeDays) {
    std::lock_guard lock(mutex_);
    ParsedHistory history(text);
    LongestRegion region = orvane::getSlideWaysToScore(
        HistoryView(history), stringFor(stock, keys::STOCK_Code), kind, g_stockScore);
    if (beforeDays) *beforeDays = region.startOffset;
    return region.length;
}

std::int32_t QXUtility::fileterSlideWaysBefore(std::int32_t beforeDays) {
    std::lock_guard lock(mutex_);
    g_stockScore += orvane::fileterSlideWaysBefore(beforeDays);
    return 0;
}

void QXUtility::fileterAngleModel(float ratio, std::uint32_t bandSet) {
    std::lock_guard lock(mutex_);
    g_stockScore += orvane::fileterAngleModel(ratio, bandSet);
}

void QXUtility::fileterAngleModelforComposite(float ratio, std::uint32_t bandSet) {
    std::lock_guard lock(mutex_);
    g_stockScore += orvane::fileterAngleModelforComposite(ratio, bandSet);
}

std::int32_t QXUtility::calStockBigRises(std::string_view text, const Dictionary& stock) {
    ParsedHistory history(text);
    return orvane::calStockBigRises(HistoryView(history), floatFor(stock, keys::STOCK_closePrice));
}

std::int32_t QXUtility::getStockSildeWaysRgn(std::string_view text, std::string_view code,
                                             std::int32_t fromDay, std::uint32_t kind) {
    ParsedHistory history(text);
    return orvane::getStockSildeWaysRgn(HistoryView(history), code, fromDay, kind);
}

void QXUtility::FilterMode_limitSlideway(StockBox_Info box) {
    std::lock_guard lock(mutex_);
    orvane::FilterMode_limitSlideway(box, g_stockScore);
}

void QXUtility::FilterMode_Quellan(StockBox_Info box, StockBox_Info next) {
    std::lock_guard lock(mutex_);
    orvane::FilterMode_Quellan(box, next, g_stockScore);
}

float QXUtility::getMaxRise(std::string_view text, const Dictionary& stock,
                            std::int32_t beforeDays) {
    ParsedHistory history(text);
    return orvane::getMaxRise(HistoryView(history), stringFor(stock, keys::STOCK_Code), beforeDays);
}

float QXUtility::getMaxPrice(std::string_view text, const Dictionary& stock, std::int32_t lastDay) {
    ParsedHistory history(text);
    return orvane::getMaxPrice(HistoryView(history), stringFor(stock, keys::STOCK_Code), lastDay);
}

float QXUtility::getMaxRiseThreedays(std::string_view text, const Dictionary& stock) {
    ParsedHistory history(text);
    const TodayTrade trade = todayTradeFrom(stock);
    return orvane::getMaxRiseThreedays(HistoryView(history), trade.close, trade.yesClose);
}

bool QXUtility::FilterModeB_BuyA(std::string_view text, const Dictionary& stock) {
    ParsedHistory history(text);
    return orvane::FilterModeB_BuyA(HistoryView(history), todayTradeFrom(stock));
}

bool QXUtility::FilterModeB_BuyB(std::string_view text, const Dictionary& stock) {
    ParsedHistory history(text);
    return orvane::FilterModeB_BuyB(HistoryView(history), todayTradeFrom(stock));
}

bool QXUtility::FilterModeB(std::string_view text, const Dictionary& stock) {
    ParsedHistory history(text);
    const TodayTrade trade = todayTradeFrom(stock);
    const ModelBAnswer answer = orvane::FilterModeB(HistoryView(history), trade);
    if (answer.found())
        postModelBNotice(modelBNoticeInfo(HistoryView(history), trade, answer, localNow()));
    return answer.found();
}

Array QXUtility::searchStockSubKey(std::string_view key) const {
    return CodeTable::shared().searchStockSubKey(key);
}
std::optional<std::string> QXUtility::getStockCodeName(std::string_view code) const {
    return CodeTable::shared().getStockCodeName(code);
}
std::optional<std::size_t> QXUtility::BinarySearchByCode(std::string_view code) const {
    return CodeTable::shared().BinarySearchByCode(code);
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
std::filesystem::path QXUtility::getStockDataBackupPath(std::string_view n) {
    return orvane::getStockDataBackupPath(n);
}
std::filesystem::path QXUtility::getStockCodePath(std::string_view n) {
    return orvane::getStockCodePath(n);
}
std::filesystem::path QXUtility::getDowloadPath(std::string_view n) {
    return orvane::getDowloadPath(n);
}

}  // namespace orvane
