#pragma once
// A worker that keeps a set of stocks' quotes current: the codes on screen
// every few seconds, and every code now and then (the market table: 5 s and
// 30 s; the index strip: its few indexes every 5 s). It asks the quote
// service in batches of at most kMaxQuoteSymbols symbols, parses the answers
// on its own thread and hands each round over to its owner, who posts it to
// the window thread. A round the service does not answer in full carries
// no quotes and says so, so the owner keeps the last good figures.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "markettable/MarketQuote.h"
#include "orvane/core/Clock.h"

namespace orvane::app {

struct QuoteRound {
    std::vector<MarketQuote> quotes;
    bool answered = false;  // every batch answered
    bool whole = false;     // every code was asked, not only the visible ones
    TimePoint when;
};

/// The quotes of the codes from the quote service, in batches; nothing when
/// a batch fails (no answer, an error status) or the stop is asked for.
std::optional<std::vector<MarketQuote>> fetchQuotes(const std::vector<std::string>& codes,
                                                    std::stop_token stop = {});

class MarketQuoteFeed {
  public:
    /// Called on the worker's thread after each round.
    using Deliver = std::function<void(QuoteRound round)>;
    struct Periods {
        std::chrono::milliseconds visible{5000};
        std::chrono::milliseconds whole{30000};
    };

    explicit MarketQuoteFeed(Deliver deliver, Periods periods);
    /// Stops the worker and waits for it.
    ~MarketQuoteFeed();

    /// Any thread. The whole set and the codes on screen.
    void setAllCodes(std::vector<std::string> codes);
    void setVisibleCodes(std::vector<std::string> codes);
    /// Starts the worker (a whole round first); again after stop().
    void start();
    /// Ends the worker between requests (one in flight is cancelled) and waits.
    void stop();
    bool running() const { return thread_.joinable(); }

  private:
    void run(std::stop_token stop);

    Deliver deliver_;
    Periods periods_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::vector<std::string> all_, visible_;
    std::jthread thread_;
};

}  // namespace orvane::app
