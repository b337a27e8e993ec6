// serve: a published tree over HTTP below a base path, with the quote service
// (the stored quotes as published, or moving with --live).

#include <memory>

#include "Commands.h"
#include "orvane/httpserver/ServeUntilStopped.h"

namespace orvane::server::cli {

void addServeCommand(CLI::App& app) {
    auto* serve = app.add_subcommand("serve", "serve a published tree and the quote service");
    auto options = std::make_shared<ServeOptions>();
    auto tree = std::make_shared<std::string>();
    serve->add_option("--tree", *tree, "the published tree (holds const/...)")
        ->required()
        ->check(CLI::ExistingDirectory);
    serve->add_option("--port", options->port, "TCP port; 0 picks a free one")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    serve->add_option("--base", options->basePath, "URL path the tree is served below")
        ->capture_default_str();
    serve->add_option("--host", options->host, "address to listen on")->capture_default_str();
    serve
        ->add_option("--threads", options->threads,
                     "threads serving the connections (default: one per processor)")
        ->check(CLI::Range(1, 1024));
    auto live = std::make_shared<bool>(false);
    serve->add_flag("--live", *live, "the quotes move: a demonstration market, not real data");
    serve->callback([options, tree, live] {
        if (*live) options->live = LiveMarket::Always;
        options->tree = *tree;
        if (int status = serveUntilStopped(*options)) throw CLI::RuntimeError(status);
    });
}

}  // namespace orvane::server::cli
