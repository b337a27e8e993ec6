#pragma once
// The texts the data server publishes about the whole market on one day:
// the quote copies, the four gain lists and the score lists. They are built
// as UTF-8; the quote copies and gain lists are stored in GB 18030.

#include <string>
#include <vector>

#include "orvane/publisher/DailySeries.h"
#include "orvane/publisher/PricePatterns.h"

namespace orvane::server {

/// What the market files need to know of one stock on its last day.
struct StockOfTheDay {
    ListedStock listing;
    DailyBar today;
    double yesClose = 0;
    int score = 100;
    bool modelB = false;
    PatternType pattern = kPatternNone;
    double change() const { return yesClose > 0 ? (today.close / yesClose - 1.0) * 100.0 : 0.0; }
};

/// The quote line the quote service would answer for the stock at the close:
/// var hq_str_<prefix><code>="name,open,previous close,price,high,low,bid,
/// ask,volume,amount,five bid and five ask levels,date,time,status"; the
/// volume in shares and the amount in yuan, as the service gives them.
std::string quoteLine(const StockOfTheDay& stock);

/// Shanghai: codes beginning 6 or 5; Shenzhen: all others.
bool isShanghai(const std::string& code);

/// A gain list: header, then "rank,code,name,previous close,open,close,change"
/// lines, the rising stocks by change (largest first) or the falling ones
/// (smallest first).
std::string gainListText(const std::vector<StockOfTheDay>& stocks, bool shanghai, bool rising);

/// score.txt: header, then "code,score,model-B flag,pattern type", best first.
std::string scoreListText(const std::vector<StockOfTheDay>& stocks);
/// score_doublePao.txt: header, then "code,score" of the double-cannon stocks.
std::string doubleCannonListText(const std::vector<StockOfTheDay>& stocks);
/// score_Pao1.txt.txt: header, then "code,change" of the single-cannon stocks.
std::string singleCannonListText(const std::vector<StockOfTheDay>& stocks);

}  // namespace orvane::server
