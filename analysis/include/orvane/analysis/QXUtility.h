#pragma once
// The analysis engine: one shared object holding the state of the stock under
// analysis. Every operation takes the stock's history text; `analyzeStock`
// is the one locked unit of reset, run and read that callers should use.

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/analysis/StockBoxInfo.h"
#include "orvane/core/Value.h"

namespace orvane {

class QXUtility {
  public:
    /// The shared engine, reset on first use.
    static QXUtility& defQXUtility();
    QXUtility();

    /// Serialises whole runs; recursive, so a holder may call any operation.
    std::recursive_mutex& mutex() { return mutex_; }

    /// Reset, run the analysis on the text and today's dictionary, read the
    /// results: one locked unit.
    AnalysisResult analyzeStock(std::string_view historyText, const Dictionary& today);

    // Per-stock state.
    void initQXUtility();
    void termateQXUtility();
    const Dictionary& getTodayDiction() const { return todayStockDict_; }
    std::int32_t getStockScore() const { return g_stockScore; }
    std::uint32_t getStockTrend() const { return g_stockTrend; }
    float getmaxSildewayPrice5() const { return g_maxSildewayPrice5; }
    float getmaxSildewayPrice10() const { return g_maxSildewayPrice10; }
    bool stockTrendIsModeB() const { return g_isModeB; }
    std::int32_t getMarkScore() const { return g_markScore; }
    void setMarkScore(std::int32_t score) { g_markScore = score; }

    // History windows and earlier days.
    std::uint32_t getStockTrend(std::string_view text, std::int32_t days, std::string_view code,
                                StockBox_Info* info, std::int32_t beforeToday);
    std::int32_t daysBefortoday(std::string_view text, std::string_view code);
    std::optional<std::string> getHisdayResponseString(std::string_view text,
                                                       std::int64_t beforDay);
    std::optional<Dictionary> getHisdayTradeInfo(std::string_view text, std::int64_t beforDay,
                                                 std::string_view code);
    float getHisdayMaxPrice(std::string_view text, std::int32_t lastDays, std::int32_t beforday);

    // Trend, score, regions, rises.
    bool isAcceleration(std::string_view text, const Dictionary& stock);
    float calStockScore(std::string_view text, const Dictionary& stock);
    std::int32_t calStockScoreForComposite(std::string_view text, const Dictionary& stock);
    std::int32_t getSlideWaysToScore(std::string_view text, const Dictionary& stock,
                                     std::uint32_t kind, std::int32_t* beforeDays);
    std::int32_t fileterSlideWaysBefore(std::int32_t beforeDays);
    void fileterAngleModel(float ratio, std::uint32_t bandSet);
    void fileterAngleModelforComposite(float ratio, std::uint32_t bandSet);
    std::int32_t calStockBigRises(std::string_view text, const Dictionary& stock);
    std::int32_t getStockSildeWaysRgn(std::string_view text, std::string_view code,
                                      std::int32_t fromDay, std::uint32_t kind);
    void FilterMode_limitSlideway(StockBox_Info box);
    void FilterMode_Quellan(StockBox_Info box, StockBox_Info next);
    float getMaxRise(std::string_view text, const Dictionary& stock, std::int32_t beforeDays);
    float getMaxPrice(std::string_view text, const Dictionary& stock, std::int32_t lastDay);
    float getMaxRiseThreedays(std::string_view text, const Dictionary& stock);

    // Model B (posts the model-B notice when found) and the analysis run.
    bool FilterModeB_BuyA(std::string_view text, const Dictionary& stock);
    bool FilterModeB_BuyB(std::string_view text, const Dictionary& stock);
    bool FilterModeB(std::string_view text, const Dictionary& stock);
    std::uint32_t parseOneStockYahooHistoryFormToday(std::string_view text, std::int32_t days,
                                                     const Dictionary& stock);
    /// The results of the last run, complete (buy points, window codes).
    const AnalysisResult& lastResult() const { return lastResult_; }

    // The code table and sector groups (shared tables of the reference data).
    Array searchStockSubKey(std::string_view key) const;
    std::optional<std::string> getStockCodeName(std::string_view code) const;
    std::optional<std::size_t> BinarySearchByCode(std::string_view code) const;
    std::optional<std::string> getStockCodeFromName(std::string_view name) const;
    static bool isValidStockCode(std::string_view text);
    std::vector<std::string> getPlateGroupNameArray() const;
    std::string getStockPlateProtity(std::string_view code) const;
    std::string getMyPlateProprityFormCode(std::string_view code) const;
    int getPlantGroupNum(std::string_view name) const;

    // Folders of the data directory.
    static std::filesystem::path getLine_K_Path();
    static std::filesystem::path getInspectStockPath();
    static std::filesystem::path getHoldStockPath();
    static std::filesystem::path getGainsPath();
    static std::filesystem::path getStockDataBackupPath(std::string_view name);
    static std::filesystem::path getStockCodePath(std::string_view name);
    static std::filesystem::path getDowloadPath(std::string_view name);

  private:
    void postModelBNotice(Dictionary userInfo) const;

    std::recursive_mutex mutex_;
    std::int32_t g_stockScore = 100;
    std::int32_t g_markScore = 100;
    std::uint32_t g_stockTrend = 0;
    float g_maxSildewayPrice5 = 1.0f;
    float g_maxSildewayPrice10 = 1.0f;
    bool g_isModeB = false;
    Dictionary todayStockDict_;
    AnalysisResult lastResult_;
};

}  // namespace orvane
