#include "markettable/MarketQuoteFeed.h"

#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/QuoteBatch.h"

namespace orvane::app {

std::optional<std::vector<MarketQuote>> fetchQuotes(const std::vector<std::string>& codes,
                                                    std::stop_token stop) {
    const std::string server = MarketServers::shared()->quoteServer;
    std::vector<MarketQuote> quotes;
    for (const auto& batch : quoteBatches(codes)) {
        auto request = HttpRequest::requestWithURL(quotesRequestURL(server, batch));
        std::stop_callback cancel(stop, [&request] { request->cancel(); });
        request->startSynchronous();
        if (stop.stop_requested() || request->error() || request->responseStatusCode() != 200)
            return std::nullopt;
        const auto text = request->responseString();
        if (!text) return std::nullopt;
        auto answered = parseQuoteLines(*text);
        quotes.insert(quotes.end(), std::make_move_iterator(answered.begin()),
                      std::make_move_iterator(answered.end()));
    }
    return quotes;
}

MarketQuoteFeed::MarketQuoteFeed(Deliver deliver, Periods periods)
    : deliver_(std::move(deliver)), periods_(periods) {}

MarketQuoteFeed::~MarketQuoteFeed() {
    stop();
}

void MarketQuoteFeed::setAllCodes(std::vector<std::string> codes) {
    const std::lock_guard lock(mutex_);
    all_ = std::move(codes);
}

void MarketQuoteFeed::setVisibleCodes(std::vector<std::string> codes) {
    const std::lock_guard lock(mutex_);
    visible_ = std::move(codes);
}

void MarketQuoteFeed::start() {
    if (thread_.joinable()) return;
    thread_ = std::jthread([this](std::stop_token stop) { run(stop); });
}

void MarketQuoteFeed::stop() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    thread_.join();
    thread_ = {};
}

void MarketQuoteFeed::run(std::stop_token stop) {
    using Steady = std::chrono::steady_clock;
    Steady::time_point nextWhole = Steady::now();
    while (!stop.stop_requested()) {
        const bool whole = Steady::now() >= nextWhole;
        std::vector<std::string> codes;
        {
            const std::lock_guard lock(mutex_);
            codes = whole ? all_ : visible_;
        }
        if (whole) nextWhole = Steady::now() + periods_.whole;
        if (!codes.empty()) {
            auto quotes = fetchQuotes(codes, stop);
            if (stop.stop_requested()) return;
            QuoteRound round;
            round.answered = quotes.has_value();
            if (quotes) round.quotes = std::move(*quotes);
            round.whole = whole;
            round.when = now();
            deliver_(std::move(round));
        }
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, stop, periods_.visible, [] { return false; });
    }
}

}  // namespace orvane::app
