#pragma once
// The data server's listening TCP socket, opened by the program itself (not
// by the HTTP library) so that binding can happen before serving, the chosen
// port is known at once and a failure comes with the system's reason.

#include <string>

namespace orvane::server {

class ListeningSocket {
  public:
    /// Binds `host`:`port` (port 0: a free port the system picks) and listens
    /// with room for `backlog` connections not yet accepted; see ok().
    ListeningSocket(const std::string& host, int port, int backlog);
    ~ListeningSocket();
    ListeningSocket(const ListeningSocket&) = delete;
    ListeningSocket& operator=(const ListeningSocket&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    int port() const { return port_; }
    bool isIPv6() const { return ipv6_; }
    /// Why listening failed, in words for the person who started the server.
    const std::string& failure() const { return failure_; }

    /// New connections are refused from now on; the descriptor stays open (a
    /// thread may still poll it) until the object ends.
    void stopListening();

  private:
    int fd_ = -1;
    int port_ = 0;
    bool ipv6_ = false;
    std::string failure_;
};

/// The reason behind a failed bind or listen on `port` with `err` (errno).
std::string listenFailureReason(int err, int port);

}  // namespace orvane::server
