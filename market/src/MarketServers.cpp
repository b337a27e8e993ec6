#include "orvane/market/MarketServers.h"

#include <mutex>

namespace orvane {

namespace {
std::mutex gMutex;
MarketServers& current() {
    static MarketServers servers;
    return servers;
}
}  // namespace

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
