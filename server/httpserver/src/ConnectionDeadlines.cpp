#include "ConnectionDeadlines.h"

#include <sys/socket.h>

namespace orvane::server {

ConnectionDeadlines::Connection* ConnectionDeadlines::opened(int fd, Clock::time_point now) {
    auto connection = std::make_unique<Connection>();
    connection->fd = fd;
    connection->headDue = dueFrom(now);
    Connection* raw = connection.get();
    std::lock_guard lock(mutex_);
    open_.emplace(raw, std::move(connection));
    return raw;
}

void ConnectionDeadlines::headReceived(Connection& connection) {
    if (connection.headDue.exchange(kBusy) != kBusy) ++busy_;
}

void ConnectionDeadlines::answered(Connection& connection, Clock::time_point now) {
    if (connection.headDue.exchange(dueFrom(now)) == kBusy) --busy_;
}

void ConnectionDeadlines::closed(Connection* connection) {
    std::lock_guard lock(mutex_);
    auto it = open_.find(connection);
    if (it == open_.end()) return;
    if (connection->headDue.load() == kBusy) --busy_;
    open_.erase(it);
}

std::size_t ConnectionDeadlines::closeLate(Clock::time_point now) {
    const Clock::rep due = now.time_since_epoch().count();
    std::lock_guard lock(mutex_);
    std::size_t late = 0;
    for (auto& [raw, connection] : open_) {
        const Clock::rep headDue = connection->headDue.load();
        if (headDue == kBusy || headDue > due) continue;
        // Only the socket is shut down: the library still owns the descriptor
        // and closes it after telling closed(), so it cannot be reused while
        // it is listed here.
        ::shutdown(connection->fd, SHUT_RDWR);
        ++late;
    }
    return late;
}

}  // namespace orvane::server
