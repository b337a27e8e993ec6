#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace orvane::test {

LocalHttpServer::LocalHttpServer() {
    // Enough workers for kept-alive client connections, which hold one each,
    // and a short keep-alive so stopping does not wait long for them.
    server_.new_task_queue = [] { return new httplib::ThreadPool(32); };
    server_.set_keep_alive_max_count(100000);
    server_.set_keep_alive_timeout(1);
    // Without it, headers and body in separate writes meet the client's
    // delayed acknowledgement: 40 ms a request.
    server_.set_tcp_nodelay(true);
    server_.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty())
            res.set_content("<html><body><h1>404 Not Found</h1></body></html>", "text/html");
    });
}

LocalHttpServer::~LocalHttpServer() {
    stop();
}

void LocalHttpServer::start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // The socket already listens after the bind; connections wait in its backlog.
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void LocalHttpServer::stop() {
    stopping_ = true;
    server_.stop();
    if (thread_.joinable()) thread_.join();
}

std::string LocalHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LocalHttpServer::pause(int ms) const {
    for (int waited = 0; waited < ms && !stopping_; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

int refusedPort() {
    // A port bound without listening and closed again: connections to it are
    // refused.
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

}  // namespace orvane::test
