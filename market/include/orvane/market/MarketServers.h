#pragma once
// Where the program's data comes from: the data server's base URL (host and
// first path segment) and the quote service's address. Set once at start-up
// (command-line options, settings); read by every fetch.

#include <string>
#include <string_view>

namespace orvane {

struct MarketServers {
    // The embedded data server (orvane-server demo), which is also the
    // quote service.
    std::string dataServer = "http://127.0.0.1:8468/orvane";
    std::string quoteServer = "http://127.0.0.1:8468/";
};

MarketServers marketServers();
void setMarketServers(MarketServers servers);

/// The data server's base URL followed by `path` (one of ServerPaths.h).
std::string dataServerURL(std::string_view path);

}  // namespace orvane
