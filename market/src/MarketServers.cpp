#include "orvane/market/MarketServers.h"

#include <string>

#include "orvane/market/HttpRequest.h"
#include "orvane/market/ServerPaths.h"

namespace orvane {

std::string defaultServerURL(std::string_view path) {
    std::string url = "http://";
    url += kDefaultServerHost;
    url += ':';
    url += std::to_string(kDefaultServerPort);
    url += path;
    return url;
}

MarketServers::MarketServers(std::string dataServer, std::string quoteServer)
    : dataServer(std::move(dataServer)), quoteServer(std::move(quoteServer)) {
    while (this->dataServer.ends_with('/')) this->dataServer.pop_back();
}

std::shared_ptr<MarketServers> MarketServers::headlessDefault() {
    return std::make_shared<MarketServers>();
}

std::string dataServerURL(std::string_view path) {
    std::string url = MarketServers::shared()->dataServer;
    url += path;
    return url;
}

std::optional<std::string> dataServerProblem(double timeoutSeconds) {
    auto request = HttpRequest::requestWithURL(dataServerURL(serverpath::kUpdateConfigFile));
    request->setTimeOutSeconds(timeoutSeconds);
    request->startSynchronous();
    return request->error();
}

}  // namespace orvane
