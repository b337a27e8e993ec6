#include "ConnectionDeadlines.h"

#include <sys/socket.h>

namespace orvane::server {

void ConnectionDeadlines::opened(const void* connection, int fd, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    open_[connection] = {fd, now + headTime_};
}

void ConnectionDeadlines::headReceived(const void* connection) {
    std::lock_guard lock(mutex_);
    auto it = open_.find(connection);
    if (it == open_.end() || !it->second.headDue) return;
    it->second.headDue.reset();
    ++busy_;
}

void ConnectionDeadlines::answered(const void* connection, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    auto it = open_.find(connection);
    if (it == open_.end() || it->second.headDue) return;
    it->second.headDue = now + headTime_;
    --busy_;
}

void ConnectionDeadlines::closed(const void* connection) {
    std::lock_guard lock(mutex_);
    auto it = open_.find(connection);
    if (it == open_.end()) return;
    if (!it->second.headDue) --busy_;
    open_.erase(it);
}

std::size_t ConnectionDeadlines::closeLate(Clock::time_point now) {
    std::lock_guard lock(mutex_);
    std::size_t late = 0;
    for (auto& [connection, c] : open_) {
        if (!c.headDue || *c.headDue > now) continue;
        // Only the socket is shut down: the library still owns the descriptor
        // and closes it after telling closed(), so it cannot be reused while
        // it is listed here.
        ::shutdown(c.fd, SHUT_RDWR);
        c.headDue = Clock::time_point::max();
        ++late;
    }
    return late;
}

std::size_t ConnectionDeadlines::busy() const {
    std::lock_guard lock(mutex_);
    return busy_;
}

}  // namespace orvane::server
