#include "orvane/httpserver/DataServer.h"

#include <httplib.h>
#include <spdlog/spdlog.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <memory>
#include <mutex>

#include "orvane/httpserver/ErrorPage.h"
#include "orvane/httpserver/RequestLog.h"
#include "orvane/httpserver/RequestRouter.h"

namespace orvane::server {

namespace {

using Clock = std::chrono::steady_clock;

// Connections stay open for a run of requests, but an idle one gives its
// worker back soon.
constexpr std::size_t kKeepAliveRequests = 100;
constexpr time_t kKeepAliveSeconds = 2;

/// The request this worker thread is answering: when it began and the length
/// of the body given to httplib (a provider's body is not in the Response).
struct CurrentRequest {
    std::optional<Clock::time_point> start;
    std::optional<std::size_t> bodyBytes;
};
thread_local CurrentRequest currentRequest;

/// httplib's own stop() does nothing until the accept loop runs; closing the
/// listening socket directly also works between bind and listen, so a signal
/// that arrives early still ends the server.
class ListeningServer : public httplib::Server {
  public:
    void closeListeningSocket() {
        socket_t sock = svr_sock_.exchange(INVALID_SOCKET);
        if (sock == INVALID_SOCKET) return;
        ::shutdown(sock, SHUT_RDWR);
        ::close(sock);
    }
};

void fillReply(httplib::Response& res, Reply reply) {
    res.status = reply.status;
    currentRequest.bodyBytes = reply.body.size();
    if (reply.body.empty()) {
        res.set_header("Content-Type", reply.contentType);
    } else {
        // A body of known length from a provider goes out as it is: httplib
        // would gzip or brotli a plain body whenever the client accepts it.
        auto body = std::make_shared<const std::string>(std::move(reply.body));
        res.set_content_provider(
            body->size(), reply.contentType,
            [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                return sink.write(body->data() + offset, length);
            });
    }
    if (reply.status == 405) {
        res.set_header("Allow", "GET, HEAD");
        // A body the client may have sent is not read: the connection ends.
        res.set_header("Connection", "close");
    }
}

}  // namespace

struct DataServer::Impl {
    ServeOptions options;
    std::optional<RequestRouter> router;
    ListeningServer http;
    /// Orders binding against stopping: whichever comes second closes the
    /// listening socket, so a stop during bind() is never lost.
    std::mutex socketMutex;
    std::atomic<bool> stopRequested{false};
    bool bound = false;

    bool prepare();
    void installHandlers();
};

bool DataServer::Impl::prepare() {
    std::optional<std::string> base = normalizeBasePath(options.basePath);
    if (!base) {
        spdlog::error("the base path {} is not a usable URL path", options.basePath);
        return false;
    }
    options.basePath = *base;
    std::optional<TreeFiles> tree = TreeFiles::open(options.tree);
    if (!tree) {
        spdlog::error("the tree {} is not a folder", options.tree.string());
        return false;
    }
    options.tree = tree->root();
    router.emplace(std::move(*tree), options.basePath, options.live, options.liveSeed);
    installHandlers();
    return true;
}

void DataServer::Impl::installHandlers() {
    const std::size_t workers = static_cast<std::size_t>(std::max(1, options.threads));
    http.new_task_queue = [workers] { return new httplib::ThreadPool(workers); };
    // httplib's default SO_REUSEPORT would let a second server bind the same
    // port and silently take half of the connections; SO_REUSEADDR alone still
    // allows a restart while old connections linger in TIME_WAIT.
    http.set_socket_options([](socket_t sock) {
        int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Headers and body go out in separate writes: without TCP_NODELAY the
    // body waits for the client's delayed acknowledgement (about 40 ms).
    http.set_tcp_nodelay(true);
    http.set_keep_alive_max_count(kKeepAliveRequests);
    http.set_keep_alive_timeout(kKeepAliveSeconds);

    // Every request is answered here, before httplib's own routing: no
    // pattern matching over the path, and one place that decides.
    http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        currentRequest = {Clock::now(), std::nullopt};
        std::optional<std::string> list;
        if (req.has_param("list")) list = req.get_param_value("list");
        fillReply(res, router->route(req.method, req.path, list));
        return httplib::Server::HandlerResponse::Handled;
    });
    // Answers httplib makes itself (a malformed request line, a header too
    // long) get the same kind of page.
    http.set_error_handler(
        httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
            // Our own answers (bodies from a provider) are complete already.
            if (currentRequest.bodyBytes || !res.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            res.set_content(errorPage(res.status), "text/html; charset=utf-8");
            return httplib::Server::HandlerResponse::Handled;
        }));
    http.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            fillReply(res, {500, "text/html; charset=utf-8", errorPage(500)});
        });
    http.set_logger([](const httplib::Request& req, const httplib::Response& res) {
        const CurrentRequest& current = currentRequest;
        auto elapsed = current.start ? std::chrono::duration_cast<std::chrono::microseconds>(
                                           Clock::now() - *current.start)
                                     : std::chrono::microseconds(0);
        if (spdlog::should_log(spdlog::level::info))
            spdlog::info(requestLogLine({req.remote_addr, req.method,
                                         req.target.empty() ? req.path : req.target, res.status,
                                         current.bodyBytes.value_or(res.body.size()), elapsed}));
        currentRequest = {};
    });
}

DataServer::DataServer(ServeOptions options) : impl_(std::make_unique<Impl>()) {
    impl_->options = std::move(options);
}

DataServer::~DataServer() {
    stop();
}

std::optional<int> DataServer::bind() {
    try {
        if (impl_->bound || !impl_->prepare()) return std::nullopt;
        const ServeOptions& o = impl_->options;
        std::lock_guard lock(impl_->socketMutex);
        int port = o.port;
        if (port == 0) {
            port = impl_->http.bind_to_any_port(o.host);
        } else if (!impl_->http.bind_to_port(o.host, port)) {
            port = -1;
        }
        if (port < 0) {
            spdlog::error("cannot listen on {}:{}", o.host, o.port);
            return std::nullopt;
        }
        impl_->bound = true;
        if (impl_->stopRequested) impl_->http.closeListeningSocket();
        spdlog::info("serving {} at http://{}:{}{}{}", o.tree.string(), o.host, port, o.basePath,
                     o.live == LiveMarket::Always         ? " (live market)"
                     : o.live == LiveMarket::SessionHours ? " (live in the session hours)"
                                                          : "");
        return port;
    } catch (const std::exception& e) {
        spdlog::error("the data server cannot start: {}", e.what());
        return std::nullopt;
    }
}

bool DataServer::run() {
    if (!impl_->bound) return false;
    try {
        // A stop that came before listening has already closed the socket,
        // and listening then returns at once.
        bool ok = impl_->http.listen_after_bind();
        spdlog::info("the data server has stopped");
        return ok || impl_->stopRequested;
    } catch (const std::exception& e) {
        spdlog::error("the data server failed: {}", e.what());
        return false;
    }
}

void DataServer::stop() {
    std::lock_guard lock(impl_->socketMutex);
    impl_->stopRequested = true;
    impl_->http.closeListeningSocket();
}

}  // namespace orvane::server
