#pragma once
// What `orvane-server serve` is told: the tree, the base path and the address.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/httpserver/LiveQuotes.h"
#include "orvane/market/MarketServers.h"

namespace orvane::server {

struct ServeOptions {
    std::filesystem::path tree;
    /// Normalised: empty (the tree at the root) or "/segment[/segment...]".
    std::string basePath{kDefaultServerBasePath};
    std::string host{kDefaultServerHost};
    /// 0 lets the system pick a free port.
    int port = kDefaultServerPort;
    /// Threads serving the connections, each polling its share of them
    /// (0: one a processor). Any number of connections is served at once.
    int threads = 0;
    /// The time a connection gets for the whole head of its next request,
    /// from its start or from the end of its previous answer: a client that
    /// trickles a request in, or sends nothing, is then disconnected.
    std::chrono::milliseconds headDeadline{10'000};
    /// The longest silence in the middle of an exchange (a body arriving, an
    /// answer the client does not take) before the connection is closed.
    std::chrono::seconds stallTimeout{10};
    /// Connections from one address at once: room for loopback benchmarks
    /// with 10,000 connections, a bound for a single client gone wild.
    unsigned connectionsPerAddress = 12'000;
    /// Whether the quote service moves the stored quotes (LiveQuotes.h).
    LiveMarket live = LiveMarket::Off;
    std::uint64_t liveSeed = 1;
};

/// "/orvane", "orvane", "/orvane/" give "/orvane"; "" and "/" give "" (the
/// tree at the root). Nothing for a path with "." or ".." segments, a query,
/// a percent sign, a backslash, blanks or control characters.
std::optional<std::string> normalizeBasePath(std::string_view base);

}  // namespace orvane::server
