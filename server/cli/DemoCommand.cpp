// demo: the built-in demo market, published into the user's cache on first
// use, served with the defaults. Its quotes move during the session hours of
// a weekday, and always with --live.

#include <cstdio>
#include <memory>

#include "Commands.h"
#include "orvane/httpserver/ServeUntilStopped.h"
#include "orvane/publisher/DemoMarket.h"
#include "orvane/publisher/DemoTreeFolder.h"

namespace orvane::server::cli {

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
        if (int status = serveUntilStopped(options)) throw CLI::RuntimeError(status);
    });
}

}  // namespace orvane::server::cli
