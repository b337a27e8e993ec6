#pragma once
// The data server's open connections and the deadline of each one that waits
// for a request: a connection gets a fixed time for the whole head of its next
// request (from its start, or from the end of its previous answer), however
// slowly the client trickles it in. A late connection is shut down, so that
// clients that never finish a request cannot pile up. A connection with a
// request being answered has no deadline: it is busy.
//
// Opening and closing take a lock; the steps of a request only touch the
// connection's own atomic deadline, so the polling threads never wait for
// each other here.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace orvane::server {

class ConnectionDeadlines {
  public:
    using Clock = std::chrono::steady_clock;

    /// One open connection, from opened() to closed().
    struct Connection {
        int fd = -1;
        /// When its request head is due, in Clock ticks; kBusy while a
        /// request is being answered.
        std::atomic<Clock::rep> headDue{0};
    };

    explicit ConnectionDeadlines(std::chrono::milliseconds headTime) : headTime_(headTime) {}

    /// Calls may come from any thread. `fd` is the connection's socket.
    Connection* opened(int fd, Clock::time_point now);
    void headReceived(Connection& connection);
    /// The answer has gone out; the connection waits for its next request.
    void answered(Connection& connection, Clock::time_point now);
    void closed(Connection* connection);

    /// Shuts down the sockets of connections whose deadline has passed (the
    /// HTTP library then sees the end and closes them); how many.
    std::size_t closeLate(Clock::time_point now);
    /// Connections with a request between its head and the end of its answer.
    std::size_t busy() const { return busy_.load(); }

  private:
    static constexpr Clock::rep kBusy = Clock::duration::max().count();

    Clock::rep dueFrom(Clock::time_point now) const {
        return (now + headTime_).time_since_epoch().count();
    }

    const std::chrono::milliseconds headTime_;
    std::mutex mutex_;  ///< guards the table, not the deadlines
    std::unordered_map<Connection*, std::unique_ptr<Connection>> open_;
    std::atomic<std::size_t> busy_{0};
};

}  // namespace orvane::server
