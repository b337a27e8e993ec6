#pragma once
// The embedded data server: HTTP over a published tree plus the quote
// service, one log line a request, many clients at once (event-driven polling
// threads: idle, slow and pipelining clients hold up no one).
// Binding and serving are separate so that a caller can learn the port first;
// stop() may be called from any thread at any time, also before run().

#include <memory>
#include <optional>

#include "orvane/httpserver/ServeOptions.h"

namespace orvane::server {

class DataServer {
  public:
    explicit DataServer(ServeOptions options);
    ~DataServer();
    DataServer(const DataServer&) = delete;
    DataServer& operator=(const DataServer&) = delete;

    /// Opens the listening socket; the bound port (the chosen one for port 0),
    /// or nothing, with an error log line, when the tree is not a folder, the
    /// base path is malformed or the address cannot be bound.
    std::optional<int> bind();

    /// Serves until stop(); in-flight requests finish before it returns.
    /// False when bind() did not succeed or listening failed.
    bool run();

    /// Closes the listening socket so run() returns; thread-safe.
    void stop();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace orvane::server
