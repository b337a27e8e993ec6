#include "orvane/publisher/MarketImport.h"

#include <algorithm>
#include <map>
#include <set>

namespace orvane::server {

namespace fs = std::filesystem;

namespace {

double tradedValue(const StockSeries& s) {
    return s.bars.empty() ? 0 : s.bars.back().close * s.bars.back().volume;
}

std::vector<std::string> largestByValue(const std::vector<const StockSeries*>& pool,
                                        std::size_t count) {
    std::vector<const StockSeries*> sorted(pool);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](auto* a, auto* b) { return tradedValue(*a) > tradedValue(*b); });
    std::vector<std::string> out;
    for (std::size_t i = 0; i < sorted.size() && i < count; ++i)
        out.push_back(sorted[i]->listing.code);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

std::vector<CompositeIndex> chooseComposites(const std::vector<StockSeries>& stocks) {
    std::vector<const StockSeries*> shanghai, all;
    CompositeIndex shenzhen{"399001", "深证成指", {}}, growth{"399006", "创业板指", {}};
    for (const StockSeries& s : stocks) {
        const std::string& c = s.listing.code;
        if (c.starts_with("399") || c.starts_with("510")) continue;
        all.push_back(&s);
        if (c[0] == '6') shanghai.push_back(&s);
        if (c[0] == '0' || c[0] == '3') shenzhen.members.push_back(c);
        if (c.starts_with("300") || c.starts_with("301")) growth.members.push_back(c);
    }
    std::vector<CompositeIndex> out;
    for (CompositeIndex index :
         {shenzhen, growth, CompositeIndex{"510050", "上证50", largestByValue(shanghai, 50)},
          CompositeIndex{"510300", "沪深300", largestByValue(all, 300)}})
        if (!index.members.empty()) out.push_back(std::move(index));
    return out;
}

StockSeries compositeSeries(const CompositeIndex& index, const std::vector<StockSeries>& stocks) {
    // Per date: the members' summed moves and volumes.
    struct DayMoves {
        double open = 0, high = 0, low = 0, close = 0, volume = 0;
        int count = 0;
    };
    std::map<std::string, DayMoves> days;
    const std::set<std::string> members(index.members.begin(), index.members.end());
    for (const StockSeries& s : stocks) {
        if (!members.count(s.listing.code)) continue;
        for (std::size_t i = 0; i < s.bars.size(); ++i) {
            DayMoves& d = days[s.bars[i].date];
            d.volume += s.bars[i].volume;
            if (i == 0 || s.bars[i - 1].close <= 0) continue;
            const double base = s.bars[i - 1].close;
            d.open += s.bars[i].open / base - 1.0;
            d.high += s.bars[i].high / base - 1.0;
            d.low += s.bars[i].low / base - 1.0;
            d.close += s.bars[i].close / base - 1.0;
            ++d.count;
        }
    }
    StockSeries out;
    out.listing = {index.code, index.name, "", ""};
    double level = 1000.0;
    for (const auto& [date, d] : days) {
        DailyBar bar{date, level, level, level, level, d.volume};
        if (d.count > 0) {
            bar.open = level * (1.0 + d.open / d.count);
            bar.close = level * (1.0 + d.close / d.count);
            bar.high = std::max({level * (1.0 + d.high / d.count), bar.open, bar.close});
            bar.low = std::min({level * (1.0 + d.low / d.count), bar.open, bar.close});
        }
        level = bar.close;
        out.bars.push_back(std::move(bar));
    }
    return out;
}

}  // namespace orvane::server
