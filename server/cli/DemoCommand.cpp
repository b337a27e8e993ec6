// demo: the built-in demo market, published into the user's cache on first
// use, served with the defaults.

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
    demo->callback([port] {
        ServeOptions options;
        options.tree = demoTreeFolder();
        options.port = *port;
        if (!ensureDemoTree(options.tree)) {
            std::fprintf(stderr, "orvane-server demo: there is no demo market to serve in %s\n",
                         options.tree.c_str());
            throw CLI::RuntimeError(1);
        }
        if (int status = serveUntilStopped(options)) throw CLI::RuntimeError(status);
    });
}

}  // namespace orvane::server::cli
