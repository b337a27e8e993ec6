#pragma once
// The market information flow: the day's four market gain lists are
// downloaded from the data server into the Gains folder and parsed; once all
// four are in, the engine computes the market score and the sector reports,
// and the delegate (the main window) receives the status line, the reports
// and the ranked groups, with progress steps. The server's score lists are
// fetched alongside. Also the top gainers for the stock filter window.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "orvane/core/Value.h"
#include "orvane/reports/GainListFiles.h"

namespace orvane {

class HttpRequest;
class QXStockLib;
class RequestQueue;

/// Downloads one list into its place at once; the old file is replaced only
/// by a gain list. What went wrong (a transfer failure, the server's error
/// status, a text that is no gain list), or nothing.
std::optional<std::string> downloadMarketGainListNow(const MarketGainList& list);

/// One run of the flow. Its handlers run on the main thread; any thread may
/// ask how far it is.
class MarketInfoRun {
  public:
    /// The queue-finish handler ran (the panel is closed) and both score
    /// lists were delivered.
    bool finished() const;
    /// The market report was made (all four lists had arrived).
    bool reported() const { return reported_.load(); }
    /// The market score the report computed (when reported).
    std::int32_t markScore() const { return markScore_.load(); }
    /// The lists of the run that failed, each "file: why" (once finished).
    std::vector<std::string> failures() const;
    /// For a worker thread (the main thread must stay free to run the
    /// handlers): waits until the run finished or the limit passed.
    bool waitUntilFinished(std::chrono::milliseconds limit) const;

  private:
    friend std::shared_ptr<MarketInfoRun> startMarketInfoRun(QXStockLib&, bool);
    friend std::optional<std::int32_t> runMarketInfoProcess(QXStockLib&, std::stop_token);
    std::shared_ptr<RequestQueue> queue_;  // main thread only
    /// The gain lists' requests.
    std::vector<std::shared_ptr<HttpRequest>> lists_;
    std::shared_ptr<HttpRequest> scores_, doublePaoScores_;
    std::atomic<bool> queueFinished_{false};
    std::atomic<bool> reported_{false};
    std::atomic<std::int32_t> markScore_{0};
};

/// Starts the four downloads and the score-list downloads; returns at once.
std::shared_ptr<MarketInfoRun> handMarketInfoProcess(QXStockLib& lib);

/// The same flow for a worker thread of a window program. It first waits
/// while a reference archive is being installed (ReferenceInstallGate.h):
/// the report reads the sector groups. Then the main thread
/// only runs the download handlers, and the report (the engine's work and
/// the delegate's calls) is made on the calling thread once the four lists
/// are in, so the window never waits for it. Returns when the run finished
/// (the market score, when the report was made) or as soon as `stop` is
/// requested (nothing).
std::optional<std::int32_t> runMarketInfoProcess(QXStockLib& lib, std::stop_token stop);

/// A downloaded gain list parsed into its property list (main thread).
void downloadMarketReportComplete(HttpRequest& request);

/// When all four parsed lists exist: the market score, the reports and the
/// ranked groups to the delegate, the parsed lists removed. Closes the
/// progress panel either way; the market score when the report was made.
std::optional<std::int32_t> QueueFinishMarktReport(QXStockLib& lib, RequestQueue& queue);

/// The top gainers for the filter window: the downloaded rising lists parsed
/// again (into "todayStr_SH.plist" and "todayStr_SZ.plist"), the first
/// min(count, n) of Shanghai followed by the first min(count, n) of Shenzhen.
Array getFilterStockFromHuShenGainsData(std::int32_t n);

}  // namespace orvane
