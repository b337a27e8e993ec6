#pragma once
// The data server's own code run inside the app over the imported tree: the
// tree and its quote service on a free loopback port, served from a thread
// of its own until stop() (or the destructor). The tree's folder is looked
// up for every request, so a tree published again in its place is served
// at once.

#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "orvane/httpserver/DataServer.h"

namespace orvane::app {

class InProcessDataServer {
  public:
    InProcessDataServer() = default;
    ~InProcessDataServer();
    InProcessDataServer(const InProcessDataServer&) = delete;
    InProcessDataServer& operator=(const InProcessDataServer&) = delete;

    /// Serves `tree` (stopping the one served before); false, with `error`,
    /// when it cannot be served.
    bool start(const std::filesystem::path& tree, std::string& error);
    /// Stops serving and waits for the answers in flight.
    void stop();
    bool running() const { return port_ > 0; }

    /// The data server's base URL and the quote service's address.
    std::string dataServer() const;
    std::string quoteServer() const;

  private:
    std::optional<server::DataServer> server_;
    std::thread runner_;
    int port_ = 0;
};

}  // namespace orvane::app
