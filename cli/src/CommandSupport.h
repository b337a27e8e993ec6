#pragma once
// What the commands that talk to the servers share: the --server and
// --quote-server options, failing with a message, printing records.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <string>

#include "orvane/core/Value.h"
#include "orvane/market/MarketServers.h"

namespace orvane::cli {

/// The addresses given on the command line (empty: not given). The ones in
/// use are these over ORVANE_SERVER and ORVANE_QUOTE_SERVER over the
/// defaults; the quote service follows the data server's host unless named
/// (chooseMarketServers).
struct ServerOptions {
    std::string server;
    std::string quoteServer;
    /// --wait: how long to wait for another run's lock on the data folder.
    int waitSeconds = 60;
    /// The addresses in use.
    MarketServers chosen() const;
};

/// A subcommand with the --server and --quote-server options.
struct ServerCommand {
    CLI::App* cmd;
    std::shared_ptr<ServerOptions> servers;
};
ServerCommand addServerCommand(CLI::App& app, const std::string& name,
                               const std::string& description);
/// The --wait option, for a command that writes the data folder.
void addWaitOption(const ServerCommand& command);
/// Points the market-data library at the servers in use, and makes runs
/// wait --wait seconds for another run's lock, saying so on stderr.
void applyServers(const ServerOptions& o);

/// Brings the reference data (code table, sector groups) up to date from
/// the data server; the message says what happened. `reinstall` installs
/// the archive even when the recorded version is current.
struct ReferenceCheck {
    bool ok = false;
    bool reachable = true;  // the data server answered
    std::string message;
    bool writeFailed = false;  // this computer's disk failed, not the server
};
ReferenceCheck updateReferenceData(bool reinstall = false);

/// For commands that only read the reference data: unless `present` (the
/// part the command reads is there), it is fetched from the data server
/// first; fails when it cannot be.
void ensureReferenceData(const ServerOptions& servers, bool present);

/// The exit statuses of every command (grep's: 1 is "nothing found").
enum ExitStatus : int { kDone = 0, kNothingFound = 1, kBadUsage = 2, kFailed = 3 };
/// The --help footer that explains them.
extern const char* const kExitStatusHelp;

/// Says the message on stderr and ends the command with kFailed (CLI11
/// keeps a RuntimeError's text to itself).
[[noreturn]] void fail(const std::string& message);
/// The same, ending with kNothingFound.
[[noreturn]] void nothingFound(const std::string& message);

/// Why a path cannot be read: "no such file or folder", "it is a folder",
/// "permission denied", ...
std::string whyUnreadable(const std::filesystem::path& path);

/// The data directory, created when missing; fails when it cannot be (a
/// file in its place, no permission), naming it and ORVANE_DATA_DIR.
void requireDataDirectory();

/// key=value lines in key order; nested records under "key:" indented.
void printRecord(const Dictionary& record, int indent = 0);

/// Text lines as the terminal wants them: CR LF becomes LF.
std::string withUnixNewlines(std::string text);

}  // namespace orvane::cli
