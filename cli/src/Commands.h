#pragma once
// The subcommands of the orvane command line; each registers itself on the app.

#include <CLI/CLI.hpp>

namespace orvane::cli {

void addCsv2HistCommands(CLI::App& app);
void addAnalyzeCommands(CLI::App& app);
void addMarketCommands(CLI::App& app);
void addReportCommands(CLI::App& app);
void addBacktestCommand(CLI::App& app);
void addScreenCommand(CLI::App& app);

}  // namespace orvane::cli
