#pragma once
// The market-data library: one shared object that fetches a stock's records
// from the data server (computing them locally when the server cannot be
// reached), reads the code table, keeps the quote files of the user's own
// and watched stocks fresh, downloads the server's lists, and reports to one
// delegate. A facade: the work is done by the focused classes it names.
//
// Texts that are not valid stock codes never go into a URL or a path:
// operations given one return nothing, and folder entries named otherwise
// are skipped.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/core/Value.h"
#include "orvane/market/ListText.h"
#include "orvane/market/StockRecord.h"
#include "orvane/stocklib/QXStockLibUpdateDelegate.h"

namespace orvane {

class HttpRequest;
class RequestQueue;

class QXStockLib {
  public:
    static QXStockLib& defQXStockLib();

    /// The delegate (not owned). Any thread may set it; once setDelegate
    /// returns, no call into the previous delegate is running or will start,
    /// so that delegate may be destroyed. It waits for the calls in progress:
    /// a delegate method must not set the delegate itself, nor wait for a
    /// thread that is setting it.
    void setDelegate(QXStockLibUpdateDelegate* delegate);
    /// Calls `call` with the delegate, when one is set; the delegate is not
    /// replaced while the call runs. Calls may nest.
    void withDelegate(const std::function<void(QXStockLibUpdateDelegate&)>& call) const;

    // One stock (synchronous, on the calling thread).

    /// Today's result file parsed; on a transfer failure the local
    /// computation from the server's quote copy; nothing otherwise.
    std::optional<StockRecord> getOneStockDataInfoFormServer(std::string_view code);
    /// Today's record (when there is one), then days 1..n back (n capped at
    /// 98) that parsed; progress to the delegate after each day.
    std::vector<StockRecord> getLastPassdayDataInfoFormServer(std::string_view code,
                                                              int lastPassday);
    /// The same, stopping between days once `stop` is requested (a day's
    /// request in flight is cancelled): the records fetched so far are
    /// returned. `dayDone` (when given) hears each day's progress, on the
    /// calling thread, as the delegate does.
    std::vector<StockRecord> getLastPassdayDataInfoFormServer(
        std::string_view code, int lastPassday, std::stop_token stop,
        const std::function<void(int done, int total)>& dayDone);
    /// The server's quote copy parsed; the placeholder record (1970-01-01,
    /// prices "0.01") on a transfer failure.
    std::optional<StockRecord> getTodayStockDict(std::string_view code);
    /// The record computed from the stock's history file; nothing when the
    /// history cannot be fetched (after a 2 s pause) or is not valid.
    std::optional<StockRecord> downLoadOneStockFromSeverHisdata(const StockRecord& quoteRecord);
    /// Runs the analysis on the text in a session of the shared engine; the
    /// final trend.
    std::uint32_t calOneStockFromSeverHisdata(const StockRecord& record, std::string_view text);
    static StockRecord placeholderQuoteRecord(std::string_view code);

    // Code table and quote files.

    Array getAllStockTradeData() const;
    /// The quote of one stock into a file, asynchronously.
    void downlaodOneStockTopath(std::string_view code, const std::filesystem::path& toPath);
    /// Refreshes the quote file of every held stock through a request queue;
    /// returns at once (the queue, or nothing when there is nothing to fetch).
    std::shared_ptr<RequestQueue> handDownloadMyStockProcess();
    void QueueFinishStockDownlaod(RequestQueue& queue);
    static bool isValidStockCode(std::string_view text);

    // Parsers of the server's texts (this library posts as the sender).

    std::optional<StockRecord> parseSinaData(std::string_view text, std::string_view code) const;
    std::optional<StockRecord> parseRetStockServerData(std::string_view text) const;
    std::optional<StockRecord> parseRetStockHistordayData(std::string_view text) const;
    /// Nothing once written, else what went wrong.
    std::optional<std::string> pasrseGains_new(std::string_view text,
                                               const std::filesystem::path& savePath,
                                               std::int32_t raiseUpOrDown) const;

    // The server's score lists and the smart-mode stocks (asynchronous; the
    // request is returned for callers that wait for it). A list that cannot
    // be written fails its request, as this side's failure (failedHere).

    std::shared_ptr<HttpRequest> handDownloadSortResultiOS(bool flag);
    ListIntake paserSortResult(std::string_view text);
    std::shared_ptr<HttpRequest> handDownloadYesDoublePaoSortResultiOS(bool flag);
    ListIntake paserSortResultForDoublePaoHappend(std::string_view text);
    std::shared_ptr<HttpRequest> handDownloadSinglePaoFile();
    std::optional<std::string> paserSortResultForSmartMode(std::string_view text);
    bool isExsitOnSmartFile(std::string_view code) const;
    std::shared_ptr<RequestQueue> handDownloadSmartStockSinaData();

  private:
    /// A queue of quote downloads, one per valid code, into `folder`.
    std::shared_ptr<RequestQueue> startQuoteQueue(const std::vector<std::string>& codes,
                                                  const std::filesystem::path& folder);

    mutable std::shared_mutex delegateMutex_;
    QXStockLibUpdateDelegate* delegate_ = nullptr;
};

}  // namespace orvane
