#pragma once
// The live day: every 5 seconds, one round of quotes for the shown, held
// (the HoldStock folder's) and watched stocks, and those with a price alert,
// in one request to the quote service (a request a thousand symbols). Each
// held stock's line of the answer replaces its holding file, so the holdings
// list and 当日行情 show the same quote. Then the day's minutes of the stocks
// whose 分时 is on screen from the data server (when it tells them). The
// fetch runs on the quote worker; the results come to the main thread, where
// the latest quote of each stock is kept, the intraday lines grow and the
// price alerts are checked. Panels redraw on quotesUpdated().

#include <QObject>
#include <map>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "liveday/IntradayBook.h"
#include "orvane/market/MinuteLines.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

class PriceAlerts;

class LiveDay : public QObject {
    Q_OBJECT
  public:
    explicit LiveDay(PriceAlerts& alerts, QObject* parent = nullptr);

    /// The codes to quote and those whose minutes to ask for (main thread).
    void setWatchedCodes(std::vector<std::string> quoted, std::vector<std::string> withMinutes);

    /// One round of fetches (on a worker): the held stocks' files are
    /// replaced, the results posted.
    void refresh(std::stop_token stop);
    /// The results of one round, on the main thread (tests call it directly).
    void absorb(const std::vector<StockRecord>& quotes,
                const std::map<std::string, std::vector<MinuteBar>>& minutes);

    /// The latest quote of a stock, or nothing.
    const StockRecord* quoteOf(const std::string& code) const;
    const IntradayBook& intraday() const { return intraday_; }
    /// Has any round of quotes arrived?
    bool hasQuotes() const { return !quotes_.empty(); }

  signals:
    void quotesUpdated();

  private:
    PriceAlerts& alerts_;
    std::mutex codesMutex_;
    std::vector<std::string> quoted_, withMinutes_;
    std::map<std::string, StockRecord> quotes_;
    IntradayBook intraday_;
};

}  // namespace orvane::app
