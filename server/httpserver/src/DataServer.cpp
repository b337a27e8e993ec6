#include "orvane/httpserver/DataServer.h"

#include <microhttpd.h>
#include <spdlog/spdlog.h>
#include <sys/resource.h>

#include <algorithm>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "ConnectionDeadlines.h"
#include "HttpExchange.h"
#include "ListeningSocket.h"
#include "orvane/httpserver/RequestRouter.h"

namespace orvane::server {

namespace {

using Clock = ConnectionDeadlines::Clock;

/// Connections waiting to be accepted; the system may cap it (somaxconn).
constexpr int kListenBacklog = 16384;
/// Descriptors kept for files, logs and the library's own use.
constexpr rlim_t kReservedDescriptors = 64;
/// Memory of one connection for its request's head and its answer's: room
/// for a quote request of 1,000 symbols. The library clears it for every
/// request, so more would cost time with many connections.
constexpr std::size_t kConnectionMemory = 16 * 1024;
/// How long a stop waits for the answers in flight.
constexpr auto kDrainLimit = std::chrono::seconds(30);

/// Connections at once: as many as the descriptor limit leaves room for.
unsigned connectionLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 65536;
    return static_cast<unsigned>(
        std::clamp<rlim_t>(limit.rlim_cur, 2 * kReservedDescriptors, 1 << 20) -
        kReservedDescriptors);
}

unsigned pollingThreads(int wanted) {
    if (wanted > 0) return static_cast<unsigned>(wanted);
    return std::max(1u, std::thread::hardware_concurrency());
}

/// How often late connections are looked for.
std::chrono::milliseconds sweepPeriod(std::chrono::milliseconds headDeadline) {
    return std::clamp(headDeadline / 10, std::chrono::milliseconds(10),
                      std::chrono::milliseconds(1000));
}

void logLibraryMessage(void*, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    spdlog::debug("http: {}", text);
}

}  // namespace

struct DataServer::Impl {
    ServeOptions options;
    std::optional<RequestRouter> router;
    std::unique_ptr<ListeningSocket> socket;
    /// Orders binding against stopping: a stop during bind() is never lost.
    std::mutex mutex;
    std::condition_variable stopped;
    bool stopRequested = false;
    /// The library polls the listening socket: only run() may shut it then,
    /// after taking it out of the library's hands.
    bool serving = false;

    bool prepare();
    MHD_Daemon* startDaemon(HttpExchange& exchange) const;
    /// Until stop(): late connections are closed meanwhile.
    void serve(ConnectionDeadlines& deadlines);
    void drain(ConnectionDeadlines& deadlines) const;
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
    return true;
}

MHD_Daemon* DataServer::Impl::startDaemon(HttpExchange& exchange) const {
    // Event-driven: each polling thread watches its share of the connections
    // with epoll, so idle and slow clients hold no thread. Turbo: a new
    // connection is read at once, before it joins the epoll set, and closed
    // without a shutdown first. No Date header: the answers stay as they
    // always were.
    unsigned flags = MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ITC | MHD_USE_SUPPRESS_DATE_NO_CLOCK |
                     MHD_USE_TURBO | MHD_USE_ERROR_LOG;
    if (socket->isIPv6()) flags |= MHD_USE_IPv6;
    const unsigned threads = pollingThreads(options.threads);
    return MHD_start_daemon(
        flags, 0, nullptr, nullptr, &HttpExchange::handle, &exchange, MHD_OPTION_EXTERNAL_LOGGER,
        &logLibraryMessage, nullptr,                                        //
        MHD_OPTION_LISTEN_SOCKET, socket->fd(),                             //
        MHD_OPTION_THREAD_POOL_SIZE, threads,                               //
        MHD_OPTION_CONNECTION_LIMIT, std::max(connectionLimit(), threads),  //
        MHD_OPTION_PER_IP_CONNECTION_LIMIT, options.connectionsPerAddress,  //
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory,              //
        MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(options.stallTimeout.count()),
        MHD_OPTION_URI_LOG_CALLBACK, &HttpExchange::requestStarted, &exchange,      //
        MHD_OPTION_NOTIFY_COMPLETED, &HttpExchange::requestEnded, &exchange,        //
        MHD_OPTION_NOTIFY_CONNECTION, &HttpExchange::connectionChanged, &exchange,  //
        MHD_OPTION_END);
}

void DataServer::Impl::serve(ConnectionDeadlines& deadlines) {
    const auto period = sweepPeriod(options.headDeadline);
    std::unique_lock lock(mutex);
    while (!stopRequested) {
        stopped.wait_for(lock, period);
        lock.unlock();
        deadlines.closeLate(Clock::now());
        lock.lock();
    }
}

void DataServer::Impl::drain(ConnectionDeadlines& deadlines) const {
    const auto giveUp = Clock::now() + kDrainLimit;
    while (deadlines.busy() > 0 && Clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        deadlines.closeLate(Clock::now());
    }
}

DataServer::DataServer(ServeOptions options) : impl_(std::make_unique<Impl>()) {
    impl_->options = std::move(options);
}

DataServer::~DataServer() {
    stop();
}

std::optional<int> DataServer::bind() {
    try {
        if (impl_->socket || !impl_->prepare()) return std::nullopt;
        const ServeOptions& o = impl_->options;
        std::lock_guard lock(impl_->mutex);
        auto socket = std::make_unique<ListeningSocket>(o.host, o.port, kListenBacklog);
        if (!socket->ok()) {
            spdlog::error("cannot listen on {}:{}: {}", o.host, o.port, socket->failure());
            return std::nullopt;
        }
        impl_->socket = std::move(socket);
        if (impl_->stopRequested) impl_->socket->stopListening();
        const int port = impl_->socket->port();
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
    if (!impl_->socket) return false;
    ConnectionDeadlines deadlines(impl_->options.headDeadline);
    HttpExchange exchange(*impl_->router, deadlines);
    MHD_Daemon* daemon = nullptr;
    {
        std::lock_guard lock(impl_->mutex);
        if (impl_->stopRequested) return true;
        daemon = impl_->startDaemon(exchange);
        impl_->serving = daemon != nullptr;
    }
    if (!daemon) {
        spdlog::error("the data server cannot serve: the HTTP library did not start");
        return false;
    }
    impl_->serve(deadlines);
    // Connection attempts are refused from here on; answers in flight go out
    // and end their connections, then the idle ones are closed.
    MHD_quiesce_daemon(daemon);
    impl_->socket->stopListening();
    exchange.closeConnectionsAfterAnswers();
    impl_->drain(deadlines);
    MHD_stop_daemon(daemon);
    spdlog::info("the data server has stopped");
    return true;
}

void DataServer::stop() {
    std::lock_guard lock(impl_->mutex);
    impl_->stopRequested = true;
    if (impl_->socket && !impl_->serving) impl_->socket->stopListening();
    impl_->stopped.notify_all();
}

}  // namespace orvane::server
