#pragma once
// A real HTTP server on 127.0.0.1 for the network tests (cpp-httplib on a
// background thread, on a free port).

#include <httplib.h>

#include <atomic>
#include <string>
#include <thread>

namespace orvane::test {

class LocalHttpServer {
  public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    /// Register routes before start().
    httplib::Server& server() { return server_; }
    void start();
    void stop();
    int port() const { return port_; }
    std::string url(const std::string& path = "") const;
    /// Sleeps up to `ms`, returning early when the server stops, so slow handlers end with the
    /// test.
    void pause(int ms) const;

  private:
    httplib::Server server_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    int port_ = 0;
};

/// A port on 127.0.0.1 where nothing listens.
int refusedPort();

}  // namespace orvane::test
