#include "orvane/publisher/MarketFiles.h"

#include <algorithm>

#include "orvane/core/NumberText.h"
#include "orvane/market/QuoteUnits.h"
#include "orvane/market/StockCode.h"

namespace orvane::server {

namespace {

std::string price(double v) {
    return format("%.2f", v);
}

// Stable order by score, best first.
std::vector<const StockOfTheDay*> byScore(const std::vector<StockOfTheDay>& stocks) {
    std::vector<const StockOfTheDay*> out;
    for (const auto& s : stocks) out.push_back(&s);
    std::stable_sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->score > b->score; });
    return out;
}

}  // namespace

bool isShanghai(const std::string& code) {
    return !code.empty() && (code[0] == '6' || code[0] == '5');
}

std::string quoteLine(const StockOfTheDay& s) {
    const DailyBar& d = s.today;
    // The copy holds what the quote service holds: shares and yuan, where
    // the day's bar counts lots.
    const double shares = sharesFromLots(d.volume);
    std::string line =
        "var hq_str_" + std::string(marketPrefix(s.listing.code)) + s.listing.code + "=\"";
    line += s.listing.name + "," + price(d.open) + "," + price(s.yesClose) + "," + price(d.close) +
            "," + price(d.high) + "," + price(d.low) + "," + price(d.close) + "," + price(d.close) +
            "," + format("%.0f", shares) + "," + format("%.0f", shares * d.close);
    // Five bid and five ask levels (volume, price) around the close.
    for (int side = 0; side < 2; ++side)
        for (int level = 1; level <= 5; ++level) {
            const double p = side == 0 ? d.close - 0.01 * level : d.close + 0.01 * level;
            line += "," + format("%.0f", 100.0 * (6 - level)) + "," + price(std::max(p, 0.01));
        }
    line += "," + d.date + ",15:00:00,00\";\n";
    return line;
}

std::string gainListText(const std::vector<StockOfTheDay>& stocks, bool shanghai, bool rising) {
    std::vector<const StockOfTheDay*> picked;
    for (const auto& s : stocks)
        if (isShanghai(s.listing.code) == shanghai && (rising ? s.change() > 0 : s.change() < 0))
            picked.push_back(&s);
    std::stable_sort(picked.begin(), picked.end(), [rising](auto* a, auto* b) {
        return rising ? a->change() > b->change() : a->change() < b->change();
    });
    std::string out = "rank,code,name,yesclose,open,close,change\n";
    int rank = 0;
    for (const StockOfTheDay* s : picked)
        out += std::to_string(++rank) + "," + s->listing.code + "," + s->listing.name + "," +
               price(s->yesClose) + "," + price(s->today.open) + "," + price(s->today.close) + "," +
               format("%.2f", s->change()) + "\n";
    return out;
}

std::string scoreListText(const std::vector<StockOfTheDay>& stocks) {
    std::string out = "code,score,modeb,type\n";
    for (const StockOfTheDay* s : byScore(stocks))
        out += s->listing.code + "," + std::to_string(s->score) + "," + (s->modelB ? "1" : "0") +
               "," + std::to_string(static_cast<int>(s->pattern)) + "\n";
    return out;
}

std::string doubleCannonListText(const std::vector<StockOfTheDay>& stocks) {
    std::string out = "code,score\n";
    for (const StockOfTheDay* s : byScore(stocks))
        if (s->pattern == kPatternDoubleCannon)
            out += s->listing.code + "," + std::to_string(s->score) + "\n";
    return out;
}

std::string singleCannonListText(const std::vector<StockOfTheDay>& stocks) {
    std::string out = "code,change\n";
    for (const auto& s : stocks)
        if (s.pattern == kPatternSingleCannon)
            out += s.listing.code + "," + format("%.2f", s.change()) + "\n";
    return out;
}

}  // namespace orvane::server
