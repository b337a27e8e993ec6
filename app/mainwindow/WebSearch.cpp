#include "mainwindow/WebSearch.h"

#include "orvane/market/StockCode.h"

namespace orvane::app {

namespace {

enum class Market { Shanghai, Shenzhen };

struct Portal {
    const char* name;
    /// The portal's public host for its stock quote pages.
    const char* host;
    std::string (*path)(Market market, const std::string& code);
};

std::string lower(Market m) {
    return m == Market::Shanghai ? "sh" : "sz";
}

// Each portal's own page layout below its host.
const Portal kPortals[] = {
    {"凤凰财经", "https://finance.ifeng.com/",
     [](Market m, const std::string& c) {
         return "app/hq/stock/" + lower(m) + c + (m == Market::Shanghai ? "/" : "/index.shtml");
     }},
    {"新浪财经", "https://finance.sina.com.cn/",
     [](Market m, const std::string& c) {
         return "realstock/company/" + lower(m) + c + "/nc.shtml";
     }},
    {"中国证券网", "https://www.cnstock.com/",
     [](Market m, const std::string& c) {
         return "qcenter/center/singleStock/ggzy/" + lower(m) + c + ".html";
     }},
    {"网易财经", "https://quotes.money.163.com/",
     [](Market m, const std::string& c) {
         return (m == Market::Shanghai ? "0" : "1") + c + ".html";
     }},
    {"东方财富网", "https://quote.eastmoney.com/",
     [](Market m, const std::string& c) { return lower(m) + c + ".html"; }},
    {"雪球财经", "https://xueqiu.com/",
     [](Market m, const std::string& c) {
         return std::string("S/") + (m == Market::Shanghai ? "SH" : "SZ") + c;
     }},
    {"搜狐财经", "https://q.stock.sohu.com/",
     [](Market, const std::string& c) { return "cn/" + c + "/index.shtml"; }},
};

}  // namespace

const std::vector<std::string>& webSearchTargets() {
    static const std::vector<std::string> targets = [] {
        std::vector<std::string> t{kDayChartTarget};
        for (const Portal& p : kPortals) t.emplace_back(p.name);
        return t;
    }();
    return targets;
}

std::optional<std::string> portalPageURL(std::string_view target, std::string_view code) {
    if (!isValidStockCode(code)) return std::nullopt;
    const std::string c(code);
    const Market market =
        c.starts_with("60") || c.starts_with("51") ? Market::Shanghai : Market::Shenzhen;
    for (const Portal& p : kPortals)
        if (target == p.name) return std::string(p.host) + p.path(market, c);
    return std::nullopt;
}

}  // namespace orvane::app
