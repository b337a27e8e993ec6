#include "orvane/market/MarketServers.h"

#include <mutex>
#include <string>

namespace orvane {

namespace {
std::mutex gMutex;
MarketServers& current() {
    static MarketServers servers;
    return servers;
}
}  // namespace

std::string defaultServerURL(std::string_view path) {
    std::string url = "http://";
    url += kDefaultServerHost;
    url += ':';
    url += std::to_string(kDefaultServerPort);
    url += path;
    return url;
}

MarketServers marketServers() {
    std::lock_guard lock(gMutex);
    return current();
}

void setMarketServers(MarketServers servers) {
    // A trailing "/" would double the one every path starts with.
    while (servers.dataServer.ends_with('/')) servers.dataServer.pop_back();
    std::lock_guard lock(gMutex);
    current() = std::move(servers);
}

std::string dataServerURL(std::string_view path) {
    std::string url = marketServers().dataServer;
    url += path;
    return url;
}

}  // namespace orvane
