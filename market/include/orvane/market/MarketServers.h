#pragma once
// Where the program's data comes from: the data server's base URL (host and
// first path segment) and the quote service's address. Installed once at
// start-up (command-line options, settings); read by every fetch through
// `MarketServers::shared()`.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/core/ReplaceableService.h"

namespace orvane {

// The embedded data server (`orvane-server demo`) is the default data server
// and quote service: these are its defaults and the client's.
inline constexpr int kDefaultServerPort = 8468;
inline constexpr std::string_view kDefaultServerHost = "127.0.0.1";
/// The first path segment of every data-server path ("/orvane/const/...").
inline constexpr std::string_view kDefaultServerBasePath = "/orvane";

/// http://host:port of the embedded server, followed by `path`.
std::string defaultServerURL(std::string_view path);

struct MarketServers : ReplaceableService<MarketServers> {
    /// A trailing "/" of the data server is dropped: every path starts with one.
    explicit MarketServers(std::string dataServer = defaultServerURL(kDefaultServerBasePath),
                           std::string quoteServer = defaultServerURL("/"));

    std::string dataServer;
    std::string quoteServer;

    /// The embedded server's addresses.
    static std::shared_ptr<MarketServers> headlessDefault();
};

/// The environment variables that name the servers for every program.
inline constexpr const char* kDataServerVariable = "ORVANE_SERVER";
inline constexpr const char* kQuoteServerVariable = "ORVANE_QUOTE_SERVER";

/// The quote service a data server's host offers, as the embedded server
/// does: "scheme://host:port/" of `dataServer` ("http://" when it names no
/// scheme).
std::string quoteServiceOf(std::string_view dataServer);

/// The addresses to use, each the first found: the one given (a command
/// line's option), the environment variable (ORVANE_SERVER,
/// ORVANE_QUOTE_SERVER), the default. The quote service's default is the
/// chosen data server's host (quoteServiceOf), so naming the data server
/// alone moves both. An empty text counts as not given.
MarketServers chooseMarketServers(std::optional<std::string> dataServer,
                                  std::optional<std::string> quoteServer);

/// The data server's base URL followed by `path` (one of ServerPaths.h).
std::string dataServerURL(std::string_view path);

/// One GET of the data server's version file: why it did not answer (the
/// transfer error), or nothing when it did.
std::optional<std::string> dataServerProblem(double timeoutSeconds);

}  // namespace orvane
