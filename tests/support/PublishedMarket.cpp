#include "PublishedMarket.h"

#include "orvane/publisher/Publisher.h"

namespace orvane::test {

std::vector<server::StockSeries> publishSyntheticMarket(const ServedTree& served, int stocks,
                                                        const LocalDateTime& lastDay, int days,
                                                        int daysBack) {
    auto market = server::makeSyntheticMarket(stocks, 7, lastDay, days);
    LocalDateTime version = lastDay;
    version.hour = 16;
    const server::PublishOptions options{.daysBack = daysBack, .version = version, .progress = {}};
    if (!server::publishMarket(market, served.tree(), options).ok) market.clear();
    return market;
}

}  // namespace orvane::test
