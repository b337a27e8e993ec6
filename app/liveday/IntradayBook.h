#pragma once
// The day's intraday lines of the stocks the program watches: from the
// data server's minutes when it tells them, else sampled from the quotes
// the program fetches every 5 seconds (such a line starts when the program
// started to watch, and says so). A new trading day starts every line anew.

#include <map>
#include <string>
#include <vector>

#include "orvane/chart/IntradayLine.h"
#include "orvane/market/MinuteLines.h"
#include "orvane/market/StockRecord.h"

namespace orvane::app {

class IntradayBook {
  public:
    /// A quote seen: its minute (by the quote's own time) is sampled into
    /// the stock's line unless the server's minutes make it.
    void absorbQuote(const StockRecord& quote);
    /// The server's minutes of a stock replace its line's points.
    void absorbMinutes(const std::string& code, const std::vector<MinuteBar>& bars);

    /// The stock's line (empty when nothing was seen of it).
    chart::IntradayLine lineOf(const std::string& code) const;
    bool hasServerMinutes(const std::string& code) const;

  private:
    struct Entry {
        chart::IntradayLine line;
        std::string day;
        bool fromServer = false;
        double volumeBeforeMinute = -1;  ///< the day's volume when the last minute began
        int lastMinute = -1;
        double lastVolume = 0;
    };
    Entry& entryFor(const std::string& code, const std::string& day);
    std::map<std::string, Entry> entries_;
};

}  // namespace orvane::app
