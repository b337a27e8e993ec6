#pragma once
// Where the application fetches its data: the data server's base URL and the
// quote service's address. The effective address of each is, first found:
// the command line (--server URL, --quote-server URL), the environment
// (ORVANE_SERVER, ORVANE_QUOTE_SERVER), the user's settings (QSettings,
// organisation and application "Orvane", keys "server/data" and
// "server/quote"), the embedded server's default (MarketServers.h). A data
// server given on the command line or in the environment without a quote
// service serves the quotes too, unless the settings name a quote service.

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace orvane::app {

struct ServerAddresses {
    QString dataServer;
    QString quoteServer;
    bool operator==(const ServerAddresses&) const = default;
};

/// Addresses given on the command line; each one wins over the settings.
struct ServerOverrides {
    std::optional<QString> dataServer;
    std::optional<QString> quoteServer;
};

/// Takes --server URL and --quote-server URL out of `args`, leaving the rest
/// for the other options. Nothing, with `error` set, when one lacks its value
/// or the value is not an http:// address.
std::optional<ServerOverrides> takeServerOptions(std::vector<std::string>& args,
                                                 std::string& error);

/// An absolute http:// address with a host ("http://host[:port][/path]").
bool isValidServerURL(const QString& url);

class ServerPreferences {
  public:
    explicit ServerPreferences(ServerOverrides overrides = {});

    /// The embedded server's addresses.
    static ServerAddresses defaults();
    /// The settings over the defaults: what the settings dialog edits.
    ServerAddresses stored() const;
    /// The command line and the environment over stored(): the addresses
    /// in use.
    ServerAddresses effective() const;
    bool hasOverrides() const;

    /// Stores both addresses; an address equal to its default is removed
    /// from the settings, so that it follows the default. False, storing
    /// nothing, when one is not a valid server URL.
    bool store(const ServerAddresses& addresses) const;

    /// Makes effective() the program's MarketServers.
    void install() const;

  private:
    ServerOverrides overrides_;
};

}  // namespace orvane::app
