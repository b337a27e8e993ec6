#include "orvane/stocklib/QXStockLib.h"

#include <algorithm>
#include <thread>

#include "orvane/analysis/QXUtility.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/Log.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/GainList.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/RequestQueue.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/LocalComputation.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxPassDays = 98;

/// A synchronous GET below the data server's base URL.
std::shared_ptr<HttpRequest> fetchFromServer(const std::string& path) {
    auto request = HttpRequest::requestWithURL(dataServerURL(path));
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

}  // namespace

QXStockLib& QXStockLib::defQXStockLib() {
    static QXStockLib lib;
    return lib;
}

bool QXStockLib::isValidStockCode(std::string_view text) {
    return orvane::isValidStockCode(text);
}

Dictionary QXStockLib::placeholderQuoteRecord(std::string_view code) {
    using namespace keys;
    return Dictionary{
        {STOCK_Code, code},        {STOCK_DATE, "1970-01-01"}, {STOCK_YesClosePrice, "0.01"},
        {STOCK_OpenPrice, "0.01"}, {STOCK_closePrice, "0.01"}, {STOCK_HighPrice, "0.01"},
        {STOCK_LowPrice, "0.01"}};
}

std::optional<Dictionary> QXStockLib::getOneStockDataInfoFormServer(std::string_view code) {
    if (!isValidStockCode(code)) return std::nullopt;
    auto request = fetchFromServer(serverpath::resultFilePath(code));
    if (!request->error()) return parseRetStockServerData(request->responseString().value_or(""));
    auto quote = getTodayStockDict(code);
    if (!quote) return std::nullopt;
    return downLoadOneStockFromSeverHisdata(*quote);
}

Array QXStockLib::getLastPassdayDataInfoFormServer(std::string_view code, int lastPassday) {
    Array records;
    if (auto today = getOneStockDataInfoFormServer(code)) records.emplace_back(std::move(*today));
    if (!isValidStockCode(code)) return records;
    const int total = std::min(lastPassday, kMaxPassDays);
    for (int day = 1; day <= total; ++day) {
        auto request = fetchFromServer(serverpath::pastResultFilePath(code, day));
        if (!request->error())
            if (auto r = parseRetStockHistordayData(request->responseString().value_or("")))
                records.emplace_back(std::move(*r));
        if (delegate_) delegate_->updateHisdatProgressdDelegate(day, total);
    }
    return records;
}

std::optional<Dictionary> QXStockLib::getTodayStockDict(std::string_view code) {
    if (!isValidStockCode(code)) return std::nullopt;
    auto request = fetchFromServer(serverpath::quoteCopyPath(code));
    if (request->error()) return placeholderQuoteRecord(code);
    return parseSinaData(request->responseString().value_or(""), code);
}

std::optional<Dictionary> QXStockLib::downLoadOneStockFromSeverHisdata(
    const Dictionary& quoteRecord) {
    const std::string code = stringFor(quoteRecord, keys::STOCK_Code);
    if (!isValidStockCode(code)) return std::nullopt;
    auto request = fetchFromServer(serverpath::historyFilePath(code));
    if (request->error()) {
        ORVANE_LOG("%s error:%s", code.c_str(), request->error()->c_str());
        QXUtility::defQXUtility().termateQXUtility();
        // Throttles a loop over many stocks while the server is unreachable.
        std::this_thread::sleep_for(std::chrono::microseconds(2000000));
        return std::nullopt;
    }
    return computeLocalRecord(quoteRecord, request->responseString().value_or(""));
}

std::uint32_t QXStockLib::calOneStockFromSeverHisdata(const Dictionary& record,
                                                      std::string_view text) {
    QXUtility& engine = QXUtility::defQXUtility();
    std::lock_guard lock(engine.mutex());
    engine.initQXUtility();
    return engine.parseOneStockYahooHistoryFormToday(text, 0, record);
}

Array QXStockLib::getAllStockTradeData() const {
    return CodeTable::shared().getAllStockTradeData();
}

void QXStockLib::downlaodOneStockTopath(std::string_view code, const fs::path& toPath) {
    if (!isValidStockCode(code)) return;
    auto request =
        HttpRequest::requestWithURL(quoteRequestURL(MarketServers::shared()->quoteServer, code));
    request->setDownloadDestinationPath(toPath);
    request->setCompletionBlock([](HttpRequest& r) {
        ORVANE_LOG("downlaodOneStockCurrenTradeDataFormServer =%s",
                   r.downloadDestinationPath().c_str());
    });
    request->setFailedBlock(logError);
    request->startAsynchronous();
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

std::optional<Dictionary> QXStockLib::parseSinaData(std::string_view text,
                                                    std::string_view code) const {
    return orvane::parseSinaData(text, code);
}

std::optional<Dictionary> QXStockLib::parseRetStockServerData(std::string_view text) const {
    return orvane::parseRetStockServerData(text, this);
}

std::optional<Dictionary> QXStockLib::parseRetStockHistordayData(std::string_view text) const {
    return orvane::parseRetStockHistordayData(text, this);
}

void QXStockLib::pasrseGains_new(std::string_view text, const fs::path& savePath,
                                 std::int32_t raiseUpOrDown) const {
    orvane::pasrseGains_new(text, savePath, raiseUpOrDown);
}

std::shared_ptr<HttpRequest> QXStockLib::handDownloadSortResultiOS(bool) {
    const fs::path target = getGainsPath() / "todayStr_score.txt";
    std::error_code ec;
    fs::remove(target, ec);
    auto request =
        HttpRequest::requestWithURL(dataServerURL(serverpath::sortFilePath("score.txt")));
    request->setDownloadDestinationPath(target);
    request->setCompletionBlock([this](HttpRequest& r) {
        auto bytes = readFile(r.downloadDestinationPath());
        if (!bytes) return;
        paserSortResult(downloadedText(*bytes));
    });
    request->setFailedBlock(logError);
    request->startAsynchronous();
    return request;
}

bool QXStockLib::paserSortResult(std::string_view text) {
    return orvane::paserSortResult(text, getGainsPath());
}

std::shared_ptr<HttpRequest> QXStockLib::handDownloadYesDoublePaoSortResultiOS(bool) {
    auto request =
        HttpRequest::requestWithURL(dataServerURL(serverpath::sortFilePath("score_doublePao.txt")));
    request->setCompletionBlock([this](HttpRequest& r) {
        paserSortResultForDoublePaoHappend(r.responseString().value_or(""));
    });
    request->setFailedBlock([](HttpRequest& r) {
        ORVANE_LOG("handDownloadDoublePaoSortResultiOS Err=%s", r.error()->c_str());
    });
    request->startAsynchronous();
    return request;
}

bool QXStockLib::paserSortResultForDoublePaoHappend(std::string_view text) {
    return orvane::paserSortResultForDoublePaoHappend(text, getGainsPath());
}

void QXStockLib::handDownloadSinglePaoFile() {
    // The request names the file with the extension twice ("%@%@.txt").
    auto request =
        HttpRequest::requestWithURL(dataServerURL(serverpath::sortFilePath("score_Pao1.txt.txt")));
    request->setCompletionBlock(
        [this](HttpRequest& r) { paserSortResultForSmartMode(r.responseString().value_or("")); });
    request->setFailedBlock(logError);
    request->startAsynchronous();
}

void QXStockLib::paserSortResultForSmartMode(std::string_view text) {
    orvane::paserSortResultForSmartMode(text, smartModeFilePath());
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
