#pragma once
// Where the program's data comes from: the data server's base URL (host and
// first path segment) and the quote service's address. Set once at start-up
// (command-line options, settings); read by every fetch.

#include <string>
#include <string_view>

namespace orvane {

struct MarketServers {
    std::string dataServer = "http://127.0.0.1:8686/orvane";
    std::string quoteServer = "http://127.0.0.1:8686/quote";
};

MarketServers marketServers();
void setMarketServers(MarketServers servers);

/// The data server's base URL followed by `path` (one of ServerPaths.h).
std::string dataServerURL(std::string_view path);

}  // namespace orvane
