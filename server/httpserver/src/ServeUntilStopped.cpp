#include "orvane/httpserver/ServeUntilStopped.h"

#include <spdlog/spdlog.h>

#include <exception>

#include "orvane/httpserver/DataServer.h"
#include "orvane/httpserver/StopSignals.h"

namespace orvane::server {

int serveUntilStopped(const ServeOptions& options) {
    try {
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
