#pragma once
// The data server's open connections and the deadline of each one that waits
// for a request: a connection gets a fixed time for the whole head of its next
// request (from its start, or from the end of its previous answer), however
// slowly the client trickles it in. A late connection is shut down, so that
// clients that never finish a request cannot pile up. A connection with a
// request being answered has no deadline: it is busy.

#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace orvane::server {

class ConnectionDeadlines {
  public:
    using Clock = std::chrono::steady_clock;

    explicit ConnectionDeadlines(std::chrono::milliseconds headTime) : headTime_(headTime) {}

    /// Calls may come from any thread; `connection` identifies a connection
    /// from opened() to closed(), `fd` is its socket.
    void opened(const void* connection, int fd, Clock::time_point now);
    void headReceived(const void* connection);
    /// The answer has gone out; the connection waits for its next request.
    void answered(const void* connection, Clock::time_point now);
    void closed(const void* connection);

    /// Shuts down the sockets of connections whose deadline has passed (the
    /// HTTP library then sees the end and closes them); how many.
    std::size_t closeLate(Clock::time_point now);
    /// Connections with a request between its head and the end of its answer.
    std::size_t busy() const;

  private:
    struct Connection {
        int fd = -1;
        std::optional<Clock::time_point> headDue;  ///< none while busy
    };

    const std::chrono::milliseconds headTime_;
    mutable std::mutex mutex_;
    std::unordered_map<const void*, Connection> open_;
    std::size_t busy_ = 0;
};

}  // namespace orvane::server
