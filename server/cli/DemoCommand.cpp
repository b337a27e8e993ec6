// demo: the built-in demo market, published into the user's cache on first
// use, served with the defaults. Its quotes move during the session hours of
// a trading day, and always with --live. Its last day follows the calendar: an
// older demo tree is published again, at start and while serving.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

#include "Commands.h"
#include "orvane/httpserver/ServeUntilStopped.h"
#include "orvane/publisher/DemoMarket.h"
#include "orvane/publisher/DemoTreeFolder.h"

namespace orvane::server::cli {

namespace {
constexpr std::chrono::minutes kDemoRefreshCheck{10};
}

void addDemoCommand(CLI::App& app) {
    auto* demo = app.add_subcommand("demo", "publish the demo market when needed and serve it");
    auto port = std::make_shared<int>(kDefaultServerPort);
    demo->add_option("--port", *port, "TCP port")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    auto live = std::make_shared<bool>(false);
    demo->add_flag("--live", *live, "quotes move at any time, not only in the session hours");
    demo->callback([port, live] {
        ServeOptions options;
        options.tree = demoTreeFolder();
        options.port = *port;
        options.live = *live ? LiveMarket::Always : LiveMarket::SessionHours;
        if (!ensureDemoTree(options.tree)) {
            std::fprintf(stderr, "orvane-server demo: there is no demo market to serve in %s\n",
                         options.tree.c_str());
            throw CLI::RuntimeError(1);
        }
        // The demo's "today" moves with the calendar while it is served: the
        // next day is published once the last one is over.
        std::jthread refresher([tree = options.tree](std::stop_token stop) {
            std::mutex mutex;
            std::condition_variable_any wake;
            std::unique_lock lock(mutex);
            while (!stop.stop_requested()) {
                wake.wait_for(lock, stop, kDemoRefreshCheck, [] { return false; });
                if (!stop.stop_requested()) ensureDemoTree(tree);
            }
        });
        if (int status = serveUntilStopped(options)) throw CLI::RuntimeError(status);
    });
}

}  // namespace orvane::server::cli
