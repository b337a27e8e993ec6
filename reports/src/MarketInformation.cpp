#include "orvane/reports/MarketInformation.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "orvane/analysis/AnalysisSession.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/DataFolderLock.h"
#include "orvane/core/Log.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/StagedFileSet.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/GainList.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/ListText.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ReferenceInstallGate.h"
#include "orvane/market/RequestQueue.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/reports/MarketReport.h"
#include "orvane/stocklib/QXStockLib.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

constexpr auto kShortWait = std::chrono::milliseconds(100);
constexpr const char* kScoreListDownload = "todayStr_score.txt";

void progress(QXStockLib& lib, int value) {
    lib.withDelegate([&](QXStockLibUpdateDelegate& d) {
        d.updateProgressDownloadFinishedDelegate("Queue finished", value);
    });
}

void statusLine(QXStockLib& lib, const StyledText& text, int value) {
    lib.withDelegate(
        [&](QXStockLibUpdateDelegate& d) { d.setStatusBarMarketReportTextDelegate(text, value); });
}

/// The stored report handed to the delegate: the sector reports' texts and
/// their ranked groups, read back as the window would.
void deliverReport(QXStockLib& lib, const StyledText& text) {
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
    statusLine(lib, text, 99);
}

/// A request that downloads `url` under a name of this run beside `target`.
std::shared_ptr<HttpRequest> downloadRequest(const std::string& url, const fs::path& target) {
    auto request = HttpRequest::requestWithURL(url);
    request->setDownloadDestinationPath(incomingPathFor(target));
    return request;
}

std::shared_ptr<HttpRequest> gainListRequest(const MarketGainList& list) {
    return downloadRequest(dataServerURL(std::string(serverpath::kSortFolder) + list.serverFile),
                           marketGainListDownload(list));
}

/// The downloaded text of a finished request: its file's, or its body's.
std::string downloadedTextOf(const HttpRequest& request) {
    if (request.downloadDestinationPath().empty()) return request.responseString().value_or("");
    return downloadedText(readFile(request.downloadDestinationPath()).value_or(""));
}

/// Fails a request whose answer is not the list asked for (saying why); its
/// download goes.
void checkListAnswer(HttpRequest& request, bool (*isList)(std::string_view), const char* what) {
    if (request.error()) return;
    if (request.responseStatusCode() == 200 && isList(downloadedTextOf(request))) return;
    request.rejectResponse(unusableListAnswer(request.responseStatusCode(), what));
    std::error_code ec;
    if (!request.downloadDestinationPath().empty())
        fs::remove(request.downloadDestinationPath(), ec);
}

bool isGainList(std::string_view text) {
    return isGainListText(text);
}

/// The score list, downloaded beside the day's; checked when it arrives.
std::shared_ptr<HttpRequest> scoreListRequest() {
    auto request = downloadRequest(dataServerURL(serverpath::sortFilePath("score.txt")),
                                   getGainsPath() / kScoreListDownload);
    request->setCompletionBlock(
        [](HttpRequest& r) { checkListAnswer(r, isScoreListText, "score list"); });
    return request;
}

std::shared_ptr<HttpRequest> doubleCannonListRequest() {
    auto request =
        HttpRequest::requestWithURL(dataServerURL(serverpath::sortFilePath("score_doublePao.txt")));
    request->setCompletionBlock(
        [](HttpRequest& r) { checkListAnswer(r, isDoubleCannonListText, "double-cannon list"); });
    return request;
}

void removeDownloads(const std::vector<std::shared_ptr<HttpRequest>>& requests) {
    std::error_code ec;
    for (const auto& r : requests)
        if (!r->downloadDestinationPath().empty()) fs::remove(r->downloadDestinationPath(), ec);
}

/// Under the data folder's lock: the six lists and the report made from
/// them replace the day's together. The market score and the status line,
/// or nothing with the failure kept on the run.
std::optional<std::pair<std::int32_t, StyledText>> storeDayLists(
    const std::vector<std::shared_ptr<HttpRequest>>& lists, const HttpRequest& scores,
    const HttpRequest& doubleCannon, QXStockLib& lib, std::stop_token stop,
    std::optional<std::string>& failure) {
    const DataFolderLock lock = DataFolderLock::ofDataDirectory(stop);
    if (!lock.held()) {
        failure = lock.failure();
        return std::nullopt;
    }
    StagedFileSet files(getGainsPath(), kDayListsSet);
    std::vector<StockRecord> rising, falling;
    for (std::size_t i = 0; i < kMarketGainLists.size(); ++i) {
        const MarketGainList& list = kMarketGainLists[i];
        const std::vector<StockRecord> records = gainListRecords(list, downloadedTextOf(*lists[i]));
        std::vector<StockRecord>& side = list.direction == -1 ? rising : falling;
        side.insert(side.end(), records.begin(), records.end());
        files.adopt(list.localName, lists[i]->downloadDestinationPath());
    }
    const std::string scoreText = downloadedTextOf(scores);
    files.adopt(kScoreListDownload, scores.downloadDestinationPath());
    for (const auto& [name, list] : scoreListFiles(scoreText)) files.writeList(name, list);
    files.writeList(scoreListFileName("score_DoublePao_Happend.plist"),
                    doubleCannonRecords(downloadedTextOf(doubleCannon)));

    progress(lib, 25);
    std::string risingReport, sellSignal;
    StyledText text;
    std::int32_t score = 0;
    const void* engine = nullptr;
    {
        AnalysisSession session;
        text = calMarketScore(session, rising, falling, files, risingReport, sellSignal);
        score = session.getMarkScore();
        engine = &session.engine();
    }
    if ((failure = files.promote())) return std::nullopt;
    postSellSignalNotice(engine, sellSignal);
    deliverReport(lib, text);
    return std::pair{score, text};
}

}  // namespace

GainListDownload downloadMarketGainListNow(const MarketGainList& list) {
    auto request = gainListRequest(list);
    request->startSynchronous();
    checkListAnswer(*request, isGainList, "gain list");
    GainListDownload out{&list, request->downloadDestinationPath(), request->error(),
                         request->localWriteFailed()};
    if (out.failure) out.file.clear();
    return out;
}

FilterStockGains storeRisingGainLists(const std::vector<GainListDownload>& downloads,
                                      std::int32_t n, std::stop_token stop) {
    FilterStockGains out;
    const std::size_t take = static_cast<std::size_t>(std::max(n, 0));
    const DataFolderLock lock = DataFolderLock::ofDataDirectory(stop);
    if (!lock.held()) {
        out.failure = lock.failure();
        return out;
    }
    StagedFileSet files(getGainsPath(), kDayListsSet);
    for (const GainListDownload& d : downloads) {
        if (!d.list || filterGainListName(*d.list).empty()) continue;
        const Array stocks =
            parseGainList(downloadedText(readFile(d.file).value_or("")), d.list->direction);
        files.adopt(d.list->localName, d.file);
        files.writeList(filterGainListName(*d.list), stocks);
        out.stocks.insert(
            out.stocks.end(), stocks.begin(),
            stocks.begin() + static_cast<std::ptrdiff_t>(std::min(stocks.size(), take)));
    }
    if ((out.failure = files.promote())) out.stocks.clear();
    return out;
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
    if (storeFailure_) out.push_back(*storeFailure_);
    return out;
}

bool MarketInfoRun::failedHere() const {
    return storeFailure_ || std::any_of(lists_.begin(), lists_.end(), [](const auto& r) {
               return r->isFinished() && r->localWriteFailed();
           });
}

bool MarketInfoRun::waitUntilFinished(std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!finished()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Starts the downloads of one run. The queue-finish handler stores the lists
// and makes the report on the main thread, unless `reportOnCaller`: then it
// only marks the downloads done, and the caller does it on its own thread.
std::shared_ptr<MarketInfoRun> startMarketInfoRun(QXStockLib& lib, bool reportOnCaller) {
    auto run = std::make_shared<MarketInfoRun>();
    auto queue = RequestQueue::queue();
    queue->reset();
    // The handler holds the run weakly: the caller decides how long it lives.
    queue->setQueueDidFinish(
        [&lib, reportOnCaller, weak = std::weak_ptr<MarketInfoRun>(run)](RequestQueue&) {
            auto r = weak.lock();
            if (!r) return;
            if (!reportOnCaller) {
                const std::optional<std::int32_t> score = QueueFinishMarktReport(lib, *r);
                r->queue_.reset();
                if (score) r->markScore_ = *score;
                r->reported_ = score.has_value();
            }
            r->queueFinished_ = true;
        });
    for (const MarketGainList& list : kMarketGainLists) {
        auto request = gainListRequest(list);
        // A worker checks the lists itself, so the window never waits for it.
        if (!reportOnCaller) request->setDidFinishHandler(downloadMarketReportComplete);
        run->lists_.push_back(request);
    }
    run->scores_ = scoreListRequest();
    run->doublePaoScores_ = doubleCannonListRequest();
    run->lists_.push_back(run->scores_);
    run->lists_.push_back(run->doublePaoScores_);
    for (const auto& request : run->lists_) queue->addOperation(request);
    run->queue_ = queue;
    queue->go();
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
    if (!waitFor([&] { return run->queueFinished_.load(); })) {
        run->queue_->cancelAllOperations();
        removeDownloads(run->lists_);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kMarketGainLists.size(); ++i)
        downloadMarketReportComplete(*run->lists_[i]);
    const std::optional<std::int32_t> score = QueueFinishMarktReport(lib, *run, stop);
    if (score) run->markScore_ = *score;
    run->reported_ = score.has_value();
    return score;
}

void downloadMarketReportComplete(HttpRequest& request) {
    // An error page (a list the server lacks) or garbage is no list: the
    // report is skipped as for a failed download.
    checkListAnswer(request, isGainList, "gain list");
}

std::optional<std::int32_t> QueueFinishMarktReport(QXStockLib& lib, MarketInfoRun& run,
                                                   std::stop_token stop) {
    ORVANE_LOG("Queue finished QueueFinishMarktReport");
    progress(lib, 15);
    if (run.queue_)
        while (run.queue_->requestsCount() > 0) std::this_thread::sleep_for(kShortWait);
    progress(lib, 20);
    std::optional<std::int32_t> score;
    const bool allArrived = std::all_of(run.lists_.begin(), run.lists_.end(),
                                        [](const auto& r) { return !r->error(); });
    if (allArrived) {
        if (auto stored = storeDayLists(run.lists_, *run.scores_, *run.doublePaoScores_, lib, stop,
                                        run.storeFailure_))
            score = stored->first;
    }
    // Whatever was not stored goes: a later run never finds this one's files.
    removeDownloads(run.lists_);
    std::this_thread::sleep_for(kShortWait);
    ProgressPanel::shared()->closeProgressPanel();
    return score;
}

FilterStockGains getFilterStockFromHuShenGainsData(std::int32_t n) {
    const fs::path gains = getGainsPath();
    const std::size_t take = static_cast<std::size_t>(std::max(n, 0));
    FilterStockGains out;
    // The rising lists of Shanghai and of Shenzhen, parsed into the filter
    // window's own files; the lists given are the ones parsed now, whether
    // or not their files could be written.
    for (const MarketGainList* list : {&kMarketGainLists[0], &kMarketGainLists[1]}) {
        const auto bytes = readFile(marketGainListDownload(*list));
        const Array stocks = parseGainList(downloadedText(bytes.value_or("")), list->direction);
        if (auto failure = replacePropertyList(gains / filterGainListName(*list), stocks);
            failure && !out.failure)
            out.failure = std::move(failure);
        const auto count = static_cast<std::ptrdiff_t>(std::min(stocks.size(), take));
        out.stocks.insert(out.stocks.end(), stocks.begin(), stocks.begin() + count);
    }
    return out;
}

}  // namespace orvane
