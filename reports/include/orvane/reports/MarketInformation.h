#pragma once
// The market information flow: the day's four market gain lists and the
// server's two score lists are downloaded from the data server into the
// Gains folder, each under a name of this run. Once all six are in, they
// replace the day's lists together with the market report made from them
// (the market score, the sector reports and their ranked groups), as one
// set under the data folder's lock (DataFolderLock.h, StagedFileSet.h):
// the day's lists are all this run's, or all the last good run's. The
// delegate (the main window) then receives the status line, the reports and
// the ranked groups, with progress steps. Also the top gainers for the stock
// filter window and the ranking run.

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

/// One list downloaded at once under a name of this run and checked.
struct GainListDownload {
    const MarketGainList* list = nullptr;
    std::filesystem::path file;          // the checked download
    std::optional<std::string> failure;  // why there is none
    bool failedHere = false;             // the failure is this side's (the disk), not the server's
};
GainListDownload downloadMarketGainListNow(const MarketGainList& list);

/// The top gainers of both exchanges, or why the lists they came from could
/// not be stored.
struct FilterStockGains {
    Array stocks;
    std::optional<std::string> failure;
};

/// For the ranking run: the downloaded rising lists (of
/// downloadMarketGainListNow) replace the day's, with the filter window's
/// parsed lists, as one set under the data folder's lock; the first
/// min(count, n) of each as getFilterStockFromHuShenGainsData gives them.
FilterStockGains storeRisingGainLists(const std::vector<GainListDownload>& downloads,
                                      std::int32_t n, std::stop_token stop = {});

/// One run of the flow. Its handlers run on the main thread; any thread may
/// ask how far it is.
class MarketInfoRun {
  public:
    /// The queue-finish handler ran (the panel is closed).
    bool finished() const;
    /// The market report was made (all six lists had arrived and were
    /// stored with it).
    bool reported() const { return reported_.load(); }
    /// The market score the report computed (when reported).
    std::int32_t markScore() const { return markScore_.load(); }
    /// What failed (once finished): each list's "file: why", then why the
    /// day's lists could not be stored.
    std::vector<std::string> failures() const;
    /// Some failure is this side's (a file not written, the data folder
    /// busy), not the server's (once finished).
    bool failedHere() const;
    /// For a worker thread (the main thread must stay free to run the
    /// handlers): waits until the run finished or the limit passed.
    bool waitUntilFinished(std::chrono::milliseconds limit) const;

  private:
    friend std::shared_ptr<MarketInfoRun> startMarketInfoRun(QXStockLib&, bool);
    friend std::optional<std::int32_t> runMarketInfoProcess(QXStockLib&, std::stop_token);
    friend std::optional<std::int32_t> QueueFinishMarktReport(QXStockLib&, MarketInfoRun&,
                                                              std::stop_token);
    std::shared_ptr<RequestQueue> queue_;  // main thread only
    /// The gain lists' requests, then the score list's and the double-cannon list's.
    std::vector<std::shared_ptr<HttpRequest>> lists_;
    std::shared_ptr<HttpRequest> scores_, doublePaoScores_;
    std::optional<std::string> storeFailure_;  // set before queueFinished_
    std::atomic<bool> queueFinished_{false};
    std::atomic<bool> reported_{false};
    std::atomic<std::int32_t> markScore_{0};
};

/// Starts the six downloads; returns at once. The lists are stored and the
/// report made on the main thread once all are in.
std::shared_ptr<MarketInfoRun> handMarketInfoProcess(QXStockLib& lib);

/// The same flow for a worker thread of a window program. It first waits
/// while a reference archive is being installed (ReferenceInstallGate.h):
/// the report reads the sector groups. Then the main thread only runs the
/// download handlers; the lists are stored and the report (the engine's
/// work and the delegate's calls) made on the calling thread, which also
/// waits there for another run's lock, so the window never waits. Returns
/// when the run finished (the market score, when the report was made) or as
/// soon as `stop` is requested (nothing).
std::optional<std::int32_t> runMarketInfoProcess(QXStockLib& lib, std::stop_token stop);

/// Checks a downloaded gain list (main thread): an error page or garbage
/// fails the request, and its download goes.
void downloadMarketReportComplete(HttpRequest& request);

/// When all six lists arrived: under the data folder's lock, the lists and
/// the report made from them replace the day's together, and the market
/// score, the reports and the ranked groups go to the delegate. The run's
/// downloads never stay behind. Closes the progress panel either way; the
/// market score when the report was made.
std::optional<std::int32_t> QueueFinishMarktReport(QXStockLib& lib, MarketInfoRun& run,
                                                   std::stop_token stop = {});

/// The top gainers for the filter window: the downloaded rising lists parsed
/// again (and stored as "todayStr_SH.plist" and "todayStr_SZ.plist"), the
/// first min(count, n) of Shanghai followed by the first min(count, n) of
/// Shenzhen; the failure when a parsed list could not be stored.
FilterStockGains getFilterStockFromHuShenGainsData(std::int32_t n);

}  // namespace orvane
