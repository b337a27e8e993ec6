#pragma once
// The analysis engine: one shared object holding the state of the stock under
// analysis and the market score, with the lookups of the reference data and
// the folders of the data directory. Its state is reached only through an
// AnalysisSession (AnalysisSession.h), which holds the engine's lock; the
// analysis operations themselves are the free functions of this library.

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/core/Value.h"

namespace orvane {

class QXUtility {
  public:
    /// The shared engine, reset on first use.
    static QXUtility& defQXUtility();
    QXUtility();

    /// Reset, run the analysis on the text and today's dictionary, read the
    /// results: one session.
    AnalysisResult analyzeStock(std::string_view historyText, const Dictionary& today);

    // The code table and sector groups (shared tables of the reference data).
    Array searchStockSubKey(std::string_view key) const;
    std::optional<std::string> getStockCodeName(std::string_view code) const;
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

  private:
    friend class AnalysisSession;

    void initQXUtility();
    void termateQXUtility();
    std::uint32_t parseOneStockYahooHistoryFormToday(std::string_view text,
                                                     const Dictionary& stock);

    std::recursive_mutex mutex_;
    // The per-stock state is the last run's result; the market score is the
    // engine's own.
    AnalysisResult lastResult_;
    Dictionary todayStockDict_;
    std::int32_t g_markScore = 100;
};

}  // namespace orvane
