#include "marketimport/InProcessDataServer.h"

#include "orvane/market/MarketServers.h"

namespace orvane::app {

InProcessDataServer::~InProcessDataServer() {
    stop();
}

bool InProcessDataServer::start(const std::filesystem::path& tree, std::string& error) {
    stop();
    server::ServeOptions options;
    options.tree = tree;
    options.host = std::string(kDefaultServerHost);
    options.port = 0;
    // One polling thread is plenty for the one client in the same process.
    options.threads = 1;
    server_.emplace(options);
    const std::optional<int> port = server_->bind();
    if (!port) {
        server_.reset();
        error = "cannot serve " + tree.string() + " on " + std::string(kDefaultServerHost);
        return false;
    }
    port_ = *port;
    runner_ = std::thread([this] { server_->run(); });
    return true;
}

void InProcessDataServer::stop() {
    if (!server_) return;
    server_->stop();
    if (runner_.joinable()) runner_.join();
    server_.reset();
    port_ = 0;
}

std::string InProcessDataServer::dataServer() const {
    return "http://" + std::string(kDefaultServerHost) + ":" + std::to_string(port_) +
           std::string(kDefaultServerBasePath);
}

std::string InProcessDataServer::quoteServer() const {
    return "http://" + std::string(kDefaultServerHost) + ":" + std::to_string(port_) + "/";
}

}  // namespace orvane::app
