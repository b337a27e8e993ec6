#include "orvane/httpserver/ServeUntilStopped.h"

#include <spdlog/spdlog.h>
#include <sys/resource.h>

#include <exception>

#include "orvane/httpserver/DataServer.h"
#include "orvane/httpserver/StopSignals.h"

namespace orvane::server {

namespace {

/// Every connection takes a descriptor: the soft limit (often 1,024) is
/// raised to the hard one so that thousands of clients can connect.
void raiseDescriptorLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
    limit.rlim_cur = limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
        spdlog::warn("cannot raise the limit of open files: fewer clients can connect at once");
}

}  // namespace

int serveUntilStopped(const ServeOptions& options) {
    try {
        raiseDescriptorLimit();
        DataServer server(options);
        // Before any worker thread starts, so that every thread blocks the signals.
        StopSignals signals([&server] { server.stop(); });
        if (!server.bind()) return 1;
        bool ok = server.run();
        if (int sig = signals.received())
            spdlog::info("stopped on {}", sig == SIGINT ? "SIGINT" : "SIGTERM");
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        spdlog::error("the data server failed: {}", e.what());
        return 1;
    }
}

}  // namespace orvane::server
