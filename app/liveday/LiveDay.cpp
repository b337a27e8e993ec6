#include "liveday/LiveDay.h"

#include <QPointer>
#include <algorithm>
#include <filesystem>

#include "holdings/HoldingFiles.h"
#include "liveday/PriceAlerts.h"
#include "orvane/chart/IntradayLine.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/QuoteBatch.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/StockCode.h"

namespace orvane::app {

namespace {

/// The held stocks: the HoldStock folder's files named by a code.
std::vector<std::string> heldStockCodes() {
    std::vector<std::string> codes;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(getHoldStockPath(), ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string stem = it->path().stem().string();
        if (isValidStockCode(stem)) codes.push_back(stem);
    }
    return codes;
}

/// The answer's body as the service sent it (raw bytes), or nothing.
std::optional<std::string> fetchBody(const std::string& url, std::stop_token stop) {
    auto request = HttpRequest::requestWithURL(url);
    request->setTimeOutSeconds(4);
    std::stop_callback cancel(stop, [&] { request->cancel(); });
    request->startSynchronous();
    if (request->error()) return std::nullopt;
    return request->responseData();
}

/// Quotes the codes in batches; each held stock's line also replaces its
/// holding file, so that the holdings list shows this same answer. Lines
/// are decoded one by one: a line that cannot be decoded loses its own quote
/// alone.
std::vector<StockRecord> quoteAndKeepHeld(const std::vector<std::string>& codes,
                                          const std::vector<std::string>& held,
                                          std::stop_token stop) {
    const std::string quoteServer = MarketServers::shared()->quoteServer;
    std::vector<StockRecord> quotes;
    for (const auto& batch : quoteBatches(codes)) {
        if (stop.stop_requested()) break;
        const auto body = fetchBody(quotesRequestURL(quoteServer, batch), stop);
        if (!body) continue;
        for (const auto& [code, line] : quoteLinesOf(*body)) {
            if (std::find(held.begin(), held.end(), code) != held.end())
                replaceHoldingQuote(getHoldStockPath(), code, line);
            if (auto text = gb18030ToUtf8(line))
                if (auto quote = parseSinaData(*text, code)) quotes.push_back(std::move(*quote));
        }
    }
    return quotes;
}

}  // namespace

LiveDay::LiveDay(PriceAlerts& alerts, QObject* parent) : QObject(parent), alerts_(alerts) {}

void LiveDay::setWatchedCodes(std::vector<std::string> quoted,
                              std::vector<std::string> withMinutes) {
    std::lock_guard lock(codesMutex_);
    quoted_ = std::move(quoted);
    withMinutes_ = std::move(withMinutes);
}

void LiveDay::refresh(std::stop_token stop) {
    std::vector<std::string> quoted, withMinutes;
    {
        std::lock_guard lock(codesMutex_);
        quoted = quoted_;
        withMinutes = withMinutes_;
    }
    const std::vector<std::string> held = heldStockCodes();
    for (const std::string& code : held)
        if (std::find(quoted.begin(), quoted.end(), code) == quoted.end()) quoted.push_back(code);
    if (quoted.empty()) return;
    std::vector<StockRecord> quotes = quoteAndKeepHeld(quoted, held, stop);
    std::map<std::string, std::vector<MinuteBar>> minutes;
    if (!withMinutes.empty() && !stop.stop_requested())
        if (auto body = fetchBody(
                minutesRequestURL(MarketServers::shared()->dataServer, withMinutes), stop))
            if (auto text = gb18030ToUtf8(*body)) minutes = parseMinuteAnswer(*text);
    if (stop.stop_requested() || (quotes.empty() && minutes.empty())) return;
    postToMainThread(
        [self = QPointer(this), quotes = std::move(quotes), minutes = std::move(minutes)] {
            if (self) self->absorb(quotes, minutes);
        });
}

void LiveDay::absorb(const std::vector<StockRecord>& quotes,
                     const std::map<std::string, std::vector<MinuteBar>>& minutes) {
    for (const StockRecord& quote : quotes) {
        quotes_[quote.code] = quote;
        intraday_.absorbQuote(quote);
    }
    for (const auto& [code, bars] : minutes) intraday_.absorbMinutes(code, bars);
    for (const StockRecord& quote : quotes)
        alerts_.check(quote, chart::riseSpeed(intraday_.lineOf(quote.code)));
    emit quotesUpdated();
}

const StockRecord* LiveDay::quoteOf(const std::string& code) const {
    auto it = quotes_.find(code);
    return it == quotes_.end() ? nullptr : &it->second;
}

}  // namespace orvane::app
