#pragma once
// What `orvane-server serve` is told: the tree, the base path and the address.

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
    /// Connections served at once; more wait for a free worker.
    int threads = 32;
    /// Whether the quote service moves the stored quotes (LiveQuotes.h).
    LiveMarket live = LiveMarket::Off;
    std::uint64_t liveSeed = 1;
};

/// "/orvane", "orvane", "/orvane/" give "/orvane"; "" and "/" give "" (the
/// tree at the root). Nothing for a path with "." or ".." segments, a query,
/// a percent sign, a backslash, blanks or control characters.
std::optional<std::string> normalizeBasePath(std::string_view base);

}  // namespace orvane::server
