#include "orvane/market/MarketServers.h"

#include <cstdlib>
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

std::string quoteServiceOf(std::string_view dataServer) {
    const std::size_t scheme = dataServer.find("://");
    const std::size_t host = scheme == std::string_view::npos ? 0 : scheme + 3;
    const std::size_t path = dataServer.find('/', host);
    std::string url = scheme == std::string_view::npos ? "http://" : "";
    url += dataServer.substr(0, path);
    url += '/';
    return url;
}

namespace {

std::optional<std::string> given(std::optional<std::string> option, const char* variable) {
    if (option && !option->empty()) return option;
    const char* value = std::getenv(variable);
    if (value && *value) return std::string(value);
    return std::nullopt;
}

}  // namespace

MarketServers chooseMarketServers(std::optional<std::string> dataServer,
                                  std::optional<std::string> quoteServer) {
    MarketServers chosen;
    if (auto data = given(std::move(dataServer), kDataServerVariable))
        chosen = MarketServers(std::move(*data));
    auto quote = given(std::move(quoteServer), kQuoteServerVariable);
    chosen.quoteServer = quote ? std::move(*quote) : quoteServiceOf(chosen.dataServer);
    return chosen;
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
