#include "ListeningSocket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvane::server {

namespace {

int boundPort(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
}

}  // namespace

std::string listenFailureReason(int err, int port) {
    const std::string p = std::to_string(port);
    switch (err) {
        case EADDRINUSE:
            return "the address is already in use: another server runs on port " + p +
                   "; stop it or pick another --port";
        case EACCES:
            return "permission denied: port " + p +
                   " needs privileges this user does not have; pick another --port";
        case EADDRNOTAVAIL:
            return "the address is not one of this machine's; pick another --host";
        default:
            return std::strerror(err);
    }
}

ListeningSocket::ListeningSocket(const std::string& host, int port, int backlog) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        failure_ = "the host name cannot be resolved: " + std::string(::gai_strerror(rc));
        return;
    }
    int err = 0;
    for (addrinfo* a = found; a && fd_ < 0; a = a->ai_next) {
        // Non-blocking: every polling thread is woken by a new connection, and
        // those that lose the race to accept it must not wait for the next.
        int fd =
            ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0) {
            err = errno;
            continue;
        }
        // SO_REUSEADDR allows a restart while old connections linger in
        // TIME_WAIT; SO_REUSEPORT is left off, so a second server cannot bind
        // the same port and silently take half of the connections.
        int yes = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd, backlog) == 0) {
            fd_ = fd;
            ipv6_ = a->ai_family == AF_INET6;
        } else {
            err = errno;
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    if (fd_ < 0) {
        failure_ = listenFailureReason(err, port);
        return;
    }
    port_ = boundPort(fd_);
}

ListeningSocket::~ListeningSocket() {
    if (fd_ >= 0) ::close(fd_);
}

void ListeningSocket::stopListening() {
    // On Linux a shut-down listening socket stops listening: connection
    // attempts are refused instead of waiting in the backlog.
    if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

}  // namespace orvane::server
