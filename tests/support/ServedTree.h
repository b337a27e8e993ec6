#pragma once
// The program's own data server for tests: a tree of files in a throw-away
// data folder, served on 127.0.0.1 (a free port) from a thread of the test.
// Files written into the tree, or a market published there, are served at
// once: the server looks the tree up for every request.

#include <httplib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "TempDataDir.h"
#include "orvane/httpserver/DataServer.h"

namespace orvane::test {

class ServedTree {
  public:
    /// TEMP/tree served below `base` ("/" for the root), the quote service at
    /// "/" (its quotes moving when `live` says so).
    explicit ServedTree(std::string base = "/orvane",
                        server::LiveMarket live = server::LiveMarket::Off);
    ~ServedTree();
    ServedTree(const ServedTree&) = delete;
    ServedTree& operator=(const ServedTree&) = delete;

    /// The data folder ($ORVANE_DATA_DIR while the tree lives) holding tree/.
    const std::filesystem::path& folder() const { return dir_.path(); }
    const std::filesystem::path& tree() const { return tree_; }
    /// Writes `bytes` to tree/`relative`, folders included.
    void write(const std::string& relative, const std::string& bytes) const;

    int port() const { return port_; }
    std::string url(const std::string& path = "") const;
    /// The command line's options naming this server as data server and quote service.
    std::string serverOptions() const;
    /// A client that sends paths exactly as given (no percent-encoding).
    httplib::Client client() const;
    /// Stops the server and waits for it; whether it stopped cleanly.
    bool stop();

  private:
    TempDataDir dir_;
    std::filesystem::path tree_;
    std::string base_;
    std::optional<server::DataServer> server_;
    int port_ = -1;
    std::thread runner_;
    std::optional<bool> runResult_;
};

}  // namespace orvane::test
