#pragma once
// Test helpers for the data server: a small published tree in a throw-away
// folder, and a server on an ephemeral port running on its own thread.

#include <httplib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TempDataDir.h"
#include "orvane/httpserver/DataServer.h"
#include "orvane/publisher/DailySeries.h"

namespace orvane::test {

/// GB 18030 bytes of a stored quote line of 600000 (the name 浦发银行).
std::string storedQuote600000();
/// Every byte value, NUL and CR LF included.
std::string allByteValues();

/// TEMP/tree with a result file, a binary archive, a picture, quote copies;
/// TEMP/secret.txt outside the tree.
class SampleTree {
  public:
    SampleTree();
    const std::filesystem::path& tree() const { return tree_; }
    const std::filesystem::path& secret() const { return secret_; }
    void write(const std::string& relative, const std::string& bytes) const;

  private:
    TempDataDir dir_;
    std::filesystem::path tree_;
    std::filesystem::path secret_;
};

/// Sends `request` as it is on a new connection; everything the server
/// answers until it closes the connection (or 5 s pass).
std::string rawExchange(int port, const std::string& request);

/// A demo market of `count` stocks ending on 2025-12-05, published below
/// `tree` with `daysBack` earlier days; the stocks, or nothing on failure.
std::vector<server::StockSeries> publishDemoMarket(const std::filesystem::path& tree, int count,
                                                   std::uint64_t seed, int daysBack);

class RunningServer {
  public:
    explicit RunningServer(const std::filesystem::path& tree, std::string base = "/orvane",
                           int threads = 8);
    ~RunningServer();

    int port() const { return port_; }
    /// The data server's base URL and the quote service's address.
    std::string dataURL() const { return "http://127.0.0.1:" + std::to_string(port_) + "/orvane"; }
    std::string quoteURL() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    /// A client that sends paths exactly as given (no percent-encoding).
    httplib::Client client() const;
    /// Stops the server and waits for run() to return; its result.
    bool stop();

  private:
    server::DataServer server_;
    int port_ = -1;
    std::thread runner_;
    std::optional<bool> runResult_;
    bool ran_ = false;
};

}  // namespace orvane::test
