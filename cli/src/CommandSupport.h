#pragma once
// What the commands that talk to the servers share: the --server and
// --quote-server options, failing with a message, printing records.

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "orvane/core/Value.h"
#include "orvane/market/MarketServers.h"

namespace orvane::cli {

struct ServerOptions {
    std::string server = MarketServers{}.dataServer;
    std::string quoteServer = MarketServers{}.quoteServer;
};

/// A subcommand with the --server and --quote-server options.
struct ServerCommand {
    CLI::App* cmd;
    std::shared_ptr<ServerOptions> servers;
};
ServerCommand addServerCommand(CLI::App& app, const std::string& name,
                               const std::string& description);
/// Points the market-data library at the chosen servers.
void applyServers(const ServerOptions& o);

/// Brings the reference data (code table, sector groups) up to date from
/// the data server; the message says what happened.
struct ReferenceCheck {
    bool ok = false;
    bool reachable = true;  // the data server answered
    std::string message;
};
ReferenceCheck updateReferenceData();

/// Says the message on stderr and ends the command with status 1 (CLI11
/// keeps a RuntimeError's text to itself).
[[noreturn]] void fail(const std::string& message);

/// key=value lines in key order; nested records under "key:" indented.
void printRecord(const Dictionary& record, int indent = 0);

/// Text lines as the terminal wants them: CR LF becomes LF.
std::string withUnixNewlines(std::string text);

}  // namespace orvane::cli
