#include "orvane/reports/MarketInformation.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "orvane/analysis/AnalysisSession.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/Log.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/GainList.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/ListText.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ReferenceInstallGate.h"
#include "orvane/market/RequestQueue.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/reports/MarketReport.h"
#include "orvane/stocklib/QXStockLib.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

constexpr auto kShortWait = std::chrono::milliseconds(100);

void progress(QXStockLib& lib, int value) {
    lib.withDelegate([&](QXStockLibUpdateDelegate& d) {
        d.updateProgressDownloadFinishedDelegate("Queue finished", value);
    });
}

void statusLine(QXStockLib& lib, const StyledText& text, int value) {
    lib.withDelegate(
        [&](QXStockLibUpdateDelegate& d) { d.setStatusBarMarketReportTextDelegate(text, value); });
}

bool answeredWithContent(const HttpRequest& request) {
    return request.responseStatusCode() == 200;
}

// The report part of the queue-finish handler, once all four lists are in;
// the market score.
std::int32_t reportMarket(QXStockLib& lib) {
    progress(lib, 25);
    std::string rising;
    StyledText text;
    std::int32_t score = 0;
    {
        AnalysisSession session;
        text = calMarketScore(session, rising);
        score = session.getMarkScore();
    }
    statusLine(lib, text, 97);

    const fs::path gains = getGainsPath();
    lib.withDelegate([&](QXStockLibUpdateDelegate& d) {
        d.setActivatePlateReportDelegate(readFile(gains / "todayStr.txt").value_or("") +
                                         readFile(gains / "todayStr_Down.txt").value_or(""));
    });
    ProgressPanel::shared()->setIndicatorCurrentProgress(98);
    lib.withDelegate([&](QXStockLibUpdateDelegate& d) {
        d.tagArrayActivatePlateDelegate(readPropertyListArray(gains / "todayplte_SortDown.Plist"),
                                        false, true);
        d.tagArrayActivatePlateDelegate(readPropertyListArray(gains / "todayplte_SortUp.Plist"),
                                        true, false);
    });
    std::error_code ec;
    for (const MarketGainList& list : kMarketGainLists)
        fs::remove(parsedGainListPath(marketGainListDownload(list)), ec);
    statusLine(lib, text, 99);
    return score;
}

/// A request for the list that downloads it under its staging name.
std::shared_ptr<HttpRequest> stagedGainListRequest(const MarketGainList& list) {
    auto request = HttpRequest::requestWithURL(
        dataServerURL(std::string(serverpath::kSortFolder) + list.serverFile));
    request->setDownloadDestinationPath(stagedGainListDownload(list));
    return request;
}

/// The staged download's text when the finished request brought a gain
/// list; otherwise nothing: a refused answer fails the request (saying why)
/// and its staged file goes.
std::optional<std::string> acceptedGainListText(HttpRequest& request) {
    if (request.error()) return std::nullopt;
    const auto bytes = readFile(request.downloadDestinationPath());
    std::string text = downloadedText(bytes.value_or(""));
    if (request.responseStatusCode() == 200 && bytes && isGainListText(text)) return text;
    request.rejectResponse(unusableListAnswer(request.responseStatusCode(), "gain list"));
    std::error_code ec;
    fs::remove(request.downloadDestinationPath(), ec);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> downloadMarketGainListNow(const MarketGainList& list) {
    auto request = stagedGainListRequest(list);
    request->startSynchronous();
    if (!acceptedGainListText(*request)) return request->error();
    if (!renameFile(request->downloadDestinationPath(), marketGainListDownload(list))) {
        const std::string why = lastWriteFailureText("the list could not replace " +
                                                     marketGainListDownload(list).string());
        std::error_code ec;
        fs::remove(request->downloadDestinationPath(), ec);
        return why;
    }
    return std::nullopt;
}

bool MarketInfoRun::finished() const {
    auto delivered = [](const std::shared_ptr<HttpRequest>& r) { return !r || r->isFinished(); };
    return queueFinished_ && delivered(scores_) && delivered(doublePaoScores_);
}

std::vector<std::string> MarketInfoRun::failures() const {
    std::vector<std::string> out;
    auto check = [&](const std::shared_ptr<HttpRequest>& r) {
        if (!r || !r->isFinished() || !r->error()) return;
        const std::string& url = r->url();
        out.push_back(url.substr(url.find_last_of('/') + 1) + ": " + *r->error());
    };
    for (const auto& list : lists_) check(list);
    check(scores_);
    check(doublePaoScores_);
    return out;
}

bool MarketInfoRun::waitUntilFinished(std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!finished()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Starts the downloads of one run. The queue-finish handler makes the
// report on the main thread, unless `reportOnCaller`: then it only marks the
// downloads done, and the caller makes the report on its own thread.
std::shared_ptr<MarketInfoRun> startMarketInfoRun(QXStockLib& lib, bool reportOnCaller) {
    auto run = std::make_shared<MarketInfoRun>();
    auto queue = RequestQueue::queue();
    queue->reset();
    // The handler holds the run weakly: the caller decides how long it lives.
    queue->setQueueDidFinish(
        [&lib, reportOnCaller, weak = std::weak_ptr<MarketInfoRun>(run)](RequestQueue& q) {
            if (reportOnCaller) {
                if (auto r = weak.lock()) r->queueFinished_ = true;
                return;
            }
            const std::optional<std::int32_t> score = QueueFinishMarktReport(lib, q);
            if (auto r = weak.lock()) {
                r->queue_.reset();
                if (score) r->markScore_ = *score;
                r->reported_ = score.has_value();
                r->queueFinished_ = true;
            }
        });
    for (const MarketGainList& list : kMarketGainLists) {
        auto request = stagedGainListRequest(list);
        // The lists arrive under staging names and replace the day's lists
        // only when all four are lists; a parsed list left by an earlier
        // run must not stand in for today's.
        std::error_code ec;
        fs::remove(stagedGainListDownload(list), ec);
        fs::remove(stagedParsedGainList(list), ec);
        fs::remove(parsedGainListPath(marketGainListDownload(list)), ec);
        // A worker parses the lists itself, so the window never waits for it.
        if (!reportOnCaller) request->setDidFinishHandler(downloadMarketReportComplete);
        run->lists_.push_back(request);
        queue->addOperation(request);
    }
    run->queue_ = queue;
    queue->go();
    run->scores_ = lib.handDownloadSortResultiOS(true);
    run->doublePaoScores_ = lib.handDownloadYesDoublePaoSortResultiOS(true);
    return run;
}

std::shared_ptr<MarketInfoRun> handMarketInfoProcess(QXStockLib& lib) {
    return startMarketInfoRun(lib, false);
}

std::optional<std::int32_t> runMarketInfoProcess(QXStockLib& lib, std::stop_token stop) {
    // The sectors are the reference data's: on a fresh data folder the
    // launch's archive is still on its way, and a report made now would find
    // every sector empty.
    if (!ReferenceInstallGate::shared().waitUntilSettled(stop)) return std::nullopt;
    const auto run = startMarketInfoRun(lib, true);
    auto waitFor = [&](auto done) {
        while (!done()) {
            if (stop.stop_requested()) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    };
    if (!waitFor([&] { return run->queueFinished_.load(); })) return std::nullopt;
    for (const auto& list : run->lists_) downloadMarketReportComplete(*list);
    const std::optional<std::int32_t> score = QueueFinishMarktReport(lib, *run->queue_);
    if (score) run->markScore_ = *score;
    run->reported_ = score.has_value();
    if (!waitFor([&] { return run->finished(); })) return std::nullopt;
    return score;
}

void downloadMarketReportComplete(HttpRequest& request) {
    const MarketGainList* list = gainListOfStagedDownload(request.downloadDestinationPath());
    if (!list) return;
    // An error page (a list the server lacks) or garbage is no list: the
    // report is skipped as for a failed download.
    if (const auto text = acceptedGainListText(request))
        pasrseGains_new(*text, stagedParsedGainList(*list), list->direction);
}

std::optional<std::int32_t> QueueFinishMarktReport(QXStockLib& lib, RequestQueue& queue) {
    ORVANE_LOG("Queue finished QueueFinishMarktReport");
    progress(lib, 15);
    while (queue.requestsCount() > 0) std::this_thread::sleep_for(kShortWait);
    progress(lib, 20);
    ORVANE_LOG("queueCount = %d", queue.requestsCount());
    std::optional<std::int32_t> score;
    if (promoteStagedGainLists()) score = reportMarket(lib);
    std::this_thread::sleep_for(kShortWait);
    ProgressPanel::shared()->closeProgressPanel();
    return score;
}

Array getFilterStockFromHuShenGainsData(std::int32_t n) {
    const fs::path gains = getGainsPath();
    const std::size_t take = static_cast<std::size_t>(std::max(n, 0));
    Array out;
    // The rising lists of Shanghai and of Shenzhen, parsed into the filter
    // window's own files.
    for (const auto& [list, market] :
         {std::pair{kMarketGainLists[0], "SH"}, {kMarketGainLists[1], "SZ"}}) {
        const fs::path parsed = gains / (std::string("todayStr_") + market + ".plist");
        const auto bytes = readFile(marketGainListDownload(list));
        pasrseGains_new(downloadedText(bytes.value_or("")), parsed, list.direction);
        const Array stocks = readPropertyListArray(parsed);
        const auto count = static_cast<std::ptrdiff_t>(std::min(stocks.size(), take));
        out.insert(out.end(), stocks.begin(), stocks.begin() + count);
    }
    return out;
}

}  // namespace orvane
