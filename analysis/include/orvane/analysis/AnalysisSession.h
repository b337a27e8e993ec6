#pragma once
// The one door to the analysis engine's state. A session holds the engine's
// lock for its lifetime and resets the engine on entry (initQXUtility: the
// per-stock state to its defaults, the market score to 100, the data
// directory ensured), so a caller never sees another stock's results and two
// threads never interleave runs. Sessions nest on one thread: an inner
// session resets what the outer one sees. Notices posted during a session
// (the model-B notice of a run) are delivered on the session's thread with
// the lock held; their observers must not wait for another thread that opens
// a session.

#include <cstdint>
#include <mutex>
#include <string_view>

#include "orvane/analysis/AnalysisResult.h"
#include "orvane/analysis/QXUtility.h"
#include "orvane/core/Value.h"

namespace orvane {

class AnalysisSession {
  public:
    explicit AnalysisSession(QXUtility& engine = QXUtility::defQXUtility());
    AnalysisSession(const AnalysisSession&) = delete;
    AnalysisSession& operator=(const AnalysisSession&) = delete;

    /// The analysis run on the text and today's dictionary (posts the
    /// model-B notice when found); the final trend code. `days` is unused.
    std::uint32_t parseOneStockYahooHistoryFormToday(std::string_view text, std::int32_t days,
                                                     const Dictionary& stock);
    /// Abandons the stock: score, market score and trend 0, both gain bases
    /// 1.0, today's dictionary dropped; the model-B flag stays.
    void termateQXUtility();

    /// The results of the last run in this session, complete.
    const AnalysisResult& lastResult() const { return engine_.lastResult_; }
    std::int32_t getStockScore() const { return lastResult().score; }
    std::uint32_t getStockTrend() const { return static_cast<std::uint32_t>(lastResult().trend); }
    float getmaxSildewayPrice5() const { return lastResult().end5; }
    float getmaxSildewayPrice10() const { return lastResult().end10; }
    bool stockTrendIsModeB() const { return lastResult().modeB; }
    const Dictionary& getTodayDiction() const { return engine_.todayStockDict_; }

    std::int32_t getMarkScore() const { return engine_.g_markScore; }
    void setMarkScore(std::int32_t score) { engine_.g_markScore = score; }

    /// The engine, the sender of the notices posted in its name.
    const QXUtility& engine() const { return engine_; }

  private:
    QXUtility& engine_;
    std::lock_guard<std::recursive_mutex> lock_;
};

}  // namespace orvane
