#pragma once
// The subcommands of orvane-server; each registers itself on the app.

#include <CLI/CLI.hpp>

namespace orvane::server::cli {

void addServeCommand(CLI::App& app);
void addDemoCommand(CLI::App& app);
void addPublishCommand(CLI::App& app);

}  // namespace orvane::server::cli
