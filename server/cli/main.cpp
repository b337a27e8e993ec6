// orvane-server: the data server (serving a published tree and the demo market).

#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

#include "Commands.h"

int main(int argc, char** argv) {
    CLI::App app{"Orvane data server: the published tree over HTTP, with the quote service"};
    app.require_subcommand(1);
    bool quiet = false;
    app.add_flag("-q,--quiet", quiet, "only warnings and errors, no line per request");
    // Global options count anywhere on the line: a subcommand hands the ones
    // it does not know to the app (subcommands inherit this when added).
    app.fallthrough();

    orvane::server::cli::addServeCommand(app);
    orvane::server::cli::addDemoCommand(app);
    orvane::server::cli::addPublishCommand(app);

    // Log lines (one a request) go to stderr.
    spdlog::set_default_logger(spdlog::stderr_color_mt("orvane-server"));
    app.parse_complete_callback(
        [&] { spdlog::set_level(quiet ? spdlog::level::warn : spdlog::level::info); });
    CLI11_PARSE(app, argc, argv);
    return 0;
}
