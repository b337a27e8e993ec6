#include "orvane/stocklib/QXStockLib.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <thread>

#include "orvane/analysis/AnalysisSession.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/Log.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/GainList.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/ListText.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/RequestQueue.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/market/StockCode.h"
#include "orvane/stocklib/LocalComputation.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxPassDays = 98;

/// A synchronous GET below the data server's base URL, cancelled when
/// `stop` is requested.
std::shared_ptr<HttpRequest> fetchFromServer(const std::string& path, std::stop_token stop = {}) {
    auto request = HttpRequest::requestWithURL(dataServerURL(path));
    std::stop_callback cancel(stop, [&] { request->cancel(); });
    request->startSynchronous();
    return request;
}

/// The names of a folder's entries without path and extension, in name order.
std::vector<std::string> entryStems(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    for (auto& n : names) n = fs::path(n).stem().string();
    return names;
}

void logError(HttpRequest& r) {
    ORVANE_LOG("error=%s", r.error()->c_str());
}

/// An asynchronous GET of `url` (into `destination` when one is given):
/// `done` runs with the finished request, `failed` on a failure.
std::shared_ptr<HttpRequest> startDownload(const std::string& url, HttpRequest::Handler done,
                                           HttpRequest::Handler failed = logError,
                                           const fs::path& destination = {}) {
    auto request = HttpRequest::requestWithURL(url);
    if (!destination.empty()) request->setDownloadDestinationPath(destination);
    request->setCompletionBlock(std::move(done));
    request->setFailedBlock(std::move(failed));
    request->startAsynchronous();
    return request;
}

// The library whose delegate call this thread is inside, so a nested call
// does not take the shared lock twice.
thread_local const QXStockLib* t_insideDelegateCallOf = nullptr;

/// A file of the data server's sort folder.
std::string sortFileURL(const std::string& name) {
    return dataServerURL(serverpath::sortFilePath(name));
}

}  // namespace

QXStockLib& QXStockLib::defQXStockLib() {
    static QXStockLib lib;
    return lib;
}

void QXStockLib::setDelegate(QXStockLibUpdateDelegate* delegate) {
    std::unique_lock lock(delegateMutex_);
    delegate_ = delegate;
}

void QXStockLib::withDelegate(const std::function<void(QXStockLibUpdateDelegate&)>& call) const {
    if (t_insideDelegateCallOf == this) {
        if (delegate_) call(*delegate_);
        return;
    }
    std::shared_lock lock(delegateMutex_);
    if (!delegate_) return;
    struct Inside {
        explicit Inside(const QXStockLib* lib) { t_insideDelegateCallOf = lib; }
        ~Inside() { t_insideDelegateCallOf = nullptr; }
    } inside(this);
    call(*delegate_);
}

bool QXStockLib::isValidStockCode(std::string_view text) {
    return orvane::isValidStockCode(text);
}

StockRecord QXStockLib::placeholderQuoteRecord(std::string_view code) {
    StockRecord r;
    r.code = std::string(code);
    r.date = "1970-01-01";
    r.yesClosePrice = r.openPrice = r.closePrice = r.highPrice = r.lowPrice = "0.01";
    return r;
}

std::optional<StockRecord> QXStockLib::getOneStockDataInfoFormServer(std::string_view code) {
    if (!isValidStockCode(code)) return std::nullopt;
    auto request = fetchFromServer(serverpath::resultFilePath(code));
    if (!request->error()) return parseRetStockServerData(request->responseString().value_or(""));
    auto quote = getTodayStockDict(code);
    if (!quote) return std::nullopt;
    return downLoadOneStockFromSeverHisdata(*quote);
}

std::vector<StockRecord> QXStockLib::getLastPassdayDataInfoFormServer(std::string_view code,
                                                                      int lastPassday) {
    return getLastPassdayDataInfoFormServer(code, lastPassday, {}, {});
}

std::vector<StockRecord> QXStockLib::getLastPassdayDataInfoFormServer(
    std::string_view code, int lastPassday, std::stop_token stop,
    const std::function<void(int done, int total)>& dayDone) {
    std::vector<StockRecord> records;
    if (auto today = getOneStockDataInfoFormServer(code)) records.emplace_back(std::move(*today));
    if (!isValidStockCode(code)) return records;
    const int total = std::min(lastPassday, kMaxPassDays);
    for (int day = 1; day <= total && !stop.stop_requested(); ++day) {
        auto request = fetchFromServer(serverpath::pastResultFilePath(code, day), stop);
        if (stop.stop_requested()) break;
        if (!request->error())
            if (auto r = parseRetStockHistordayData(request->responseString().value_or("")))
                records.emplace_back(std::move(*r));
        withDelegate(
            [&](QXStockLibUpdateDelegate& d) { d.updateHisdatProgressdDelegate(day, total); });
        if (dayDone) dayDone(day, total);
    }
    return records;
}

std::optional<StockRecord> QXStockLib::getTodayStockDict(std::string_view code) {
    if (!isValidStockCode(code)) return std::nullopt;
    auto request = fetchFromServer(serverpath::quoteCopyPath(code));
    if (request->error()) return placeholderQuoteRecord(code);
    return parseSinaData(request->responseString().value_or(""), code);
}

std::optional<StockRecord> QXStockLib::downLoadOneStockFromSeverHisdata(
    const StockRecord& quoteRecord) {
    const std::string& code = quoteRecord.code;
    if (!isValidStockCode(code)) return std::nullopt;
    auto request = fetchFromServer(serverpath::historyFilePath(code));
    if (request->error()) {
        ORVANE_LOG("%s error:%s", code.c_str(), request->error()->c_str());
        AnalysisSession().termateQXUtility();
        // Throttles a loop over many stocks while the server is unreachable.
        std::this_thread::sleep_for(std::chrono::microseconds(2000000));
        return std::nullopt;
    }
    return computeLocalRecord(quoteRecord, request->responseString().value_or(""));
}

std::uint32_t QXStockLib::calOneStockFromSeverHisdata(const StockRecord& record,
                                                      std::string_view text) {
    return AnalysisSession().parseOneStockYahooHistoryFormToday(text, 0, record.toDictionary());
}

Array QXStockLib::getAllStockTradeData() const {
    return CodeTable::shared().getAllStockTradeData();
}

void QXStockLib::downlaodOneStockTopath(std::string_view code, const fs::path& toPath) {
    if (!isValidStockCode(code)) return;
    startDownload(
        quoteRequestURL(MarketServers::shared()->quoteServer, code),
        [](HttpRequest& r) {
            ORVANE_LOG("downlaodOneStockCurrenTradeDataFormServer =%s",
                       r.downloadDestinationPath().c_str());
        },
        logError, toPath);
}

std::shared_ptr<RequestQueue> QXStockLib::startQuoteQueue(const std::vector<std::string>& codes,
                                                          const fs::path& folder) {
    auto queue = RequestQueue::queue();
    queue->reset();
    queue->setQueueDidFinish([this](RequestQueue& q) { QueueFinishStockDownlaod(q); });
    const std::string quoteServer = MarketServers::shared()->quoteServer;
    for (const auto& code : codes) {
        if (!isValidStockCode(code)) continue;
        auto request = HttpRequest::requestWithURL(quoteRequestURL(quoteServer, code));
        request->setDownloadDestinationPath(folder / (code + ".txt"));
        queue->addOperation(request);
    }
    if (queue->requestsCount() == 0) return nullptr;
    queue->go();
    return queue;
}

std::shared_ptr<RequestQueue> QXStockLib::handDownloadMyStockProcess() {
    const fs::path folder = getHoldStockPath();
    return startQuoteQueue(entryStems(folder), folder);
}

void QXStockLib::QueueFinishStockDownlaod(RequestQueue& queue) {
    if (queue.requestsCount() == 0) ORVANE_LOG("QueueFinish StockDownlaod  ");
}

std::optional<StockRecord> QXStockLib::parseSinaData(std::string_view text,
                                                     std::string_view code) const {
    return orvane::parseSinaData(text, code);
}

std::optional<StockRecord> QXStockLib::parseRetStockServerData(std::string_view text) const {
    return orvane::parseRetStockServerData(text, this);
}

std::optional<StockRecord> QXStockLib::parseRetStockHistordayData(std::string_view text) const {
    return orvane::parseRetStockHistordayData(text, this);
}

std::optional<std::string> QXStockLib::pasrseGains_new(std::string_view text,
                                                       const fs::path& savePath,
                                                       std::int32_t raiseUpOrDown) const {
    return orvane::pasrseGains_new(text, savePath, raiseUpOrDown);
}

std::shared_ptr<HttpRequest> QXStockLib::handDownloadSortResultiOS(bool) {
    // The answer lands beside the old list, which it replaces only when it is
    // a score list: an error page or garbage leaves the day's lists alone.
    const fs::path target = getGainsPath() / "todayStr_score.txt";
    return startDownload(
        sortFileURL("score.txt"),
        [this, target](HttpRequest& r) {
            const fs::path& incoming = r.downloadDestinationPath();
            const auto bytes = readFile(incoming);
            std::error_code ec;
            const ListIntake intake = r.responseStatusCode() == 200 && bytes
                                          ? paserSortResult(downloadedText(*bytes))
                                          : ListIntake{};
            forgetWriteFailure();
            if (intake && renameFile(incoming, target)) return;
            fs::remove(incoming, ec);
            if (!intake.isList)
                r.rejectResponse(unusableListAnswer(r.responseStatusCode(), "score list"));
            else
                r.failHere(intake.writeFailure.value_or(
                    lastWriteFailureText("cannot replace " + target.string())));
            logError(r);
        },
        logError, incomingPathFor(target));
}

ListIntake QXStockLib::paserSortResult(std::string_view text) {
    return orvane::paserSortResult(text, getGainsPath());
}

std::shared_ptr<HttpRequest> QXStockLib::handDownloadYesDoublePaoSortResultiOS(bool) {
    return startDownload(
        sortFileURL("score_doublePao.txt"),
        [this](HttpRequest& r) {
            const ListIntake intake =
                r.responseStatusCode() == 200
                    ? paserSortResultForDoublePaoHappend(r.responseString().value_or(""))
                    : ListIntake{};
            if (intake) return;
            if (!intake.isList)
                r.rejectResponse(unusableListAnswer(r.responseStatusCode(), "double-cannon list"));
            else
                r.failHere(*intake.writeFailure);
            logError(r);
        },
        [](HttpRequest& r) {
            ORVANE_LOG("handDownloadDoublePaoSortResultiOS Err=%s", r.error()->c_str());
        });
}

ListIntake QXStockLib::paserSortResultForDoublePaoHappend(std::string_view text) {
    return orvane::paserSortResultForDoublePaoHappend(text, getGainsPath());
}

std::shared_ptr<HttpRequest> QXStockLib::handDownloadSinglePaoFile() {
    // The request names the file with the extension twice ("%@%@.txt").
    return startDownload(sortFileURL("score_Pao1.txt.txt"), [this](HttpRequest& r) {
        if (auto failure = paserSortResultForSmartMode(r.responseString().value_or(""))) {
            r.failHere(std::move(*failure));
            logError(r);
        }
    });
}

std::optional<std::string> QXStockLib::paserSortResultForSmartMode(std::string_view text) {
    return orvane::paserSortResultForSmartMode(text, smartModeFilePath());
}

bool QXStockLib::isExsitOnSmartFile(std::string_view code) const {
    return orvane::isExsitOnSmartFile(code, smartModeFilePath());
}

std::shared_ptr<RequestQueue> QXStockLib::handDownloadSmartStockSinaData() {
    std::vector<std::string> codes;
    for (const Value& v : readPropertyListArray(smartModeFilePath()))
        if (v.isString()) codes.push_back(fs::path(v.string()).stem().string());
    return startQuoteQueue(codes, getInspectStockPath());
}

}  // namespace orvane
