#include "platform/ServerPreferences.h"

#include <QSettings>
#include <QUrl>
#include <memory>

#include "orvane/market/MarketServers.h"

namespace orvane::app {

namespace {

const QString kDataKey = QStringLiteral("server/data");
const QString kQuoteKey = QStringLiteral("server/quote");

QSettings userSettings() {
    return QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
}

// The command line's address, else the environment variable's (when it is
// an http:// address).
std::optional<QString> overriding(const std::optional<QString>& option, const char* variable) {
    if (option) return option;
    const QString value = qEnvironmentVariable(variable);
    if (isValidServerURL(value)) return value;
    return std::nullopt;
}

}  // namespace

bool isValidServerURL(const QString& url) {
    const QUrl parsed(url, QUrl::StrictMode);
    return parsed.isValid() && parsed.scheme() == QLatin1String("http") &&
           !parsed.host().isEmpty() && url.startsWith(QLatin1String("http://")) &&
           !parsed.hasQuery() && !parsed.hasFragment();
}

std::optional<ServerOverrides> takeServerOptions(std::vector<std::string>& args,
                                                 std::string& error) {
    ServerOverrides overrides;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg != "--server" && arg != "--quote-server") {
            rest.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a URL";
            return std::nullopt;
        }
        const QString url = QString::fromStdString(args[++i]);
        if (!isValidServerURL(url)) {
            error = arg + ": not an http:// address: " + args[i];
            return std::nullopt;
        }
        (arg == "--server" ? overrides.dataServer : overrides.quoteServer) = url;
    }
    args = std::move(rest);
    return overrides;
}

ServerPreferences::ServerPreferences(ServerOverrides overrides)
    : overrides_(std::move(overrides)) {}

ServerAddresses ServerPreferences::defaults() {
    const MarketServers embedded;
    return {QString::fromStdString(embedded.dataServer),
            QString::fromStdString(embedded.quoteServer)};
}

ServerAddresses ServerPreferences::stored() const {
    const ServerAddresses fallback = defaults();
    const QSettings settings = userSettings();
    const auto read = [&](const QString& key, const QString& defaultURL) {
        const QString url = settings.value(key).toString();
        return isValidServerURL(url) ? url : defaultURL;
    };
    return {read(kDataKey, fallback.dataServer), read(kQuoteKey, fallback.quoteServer)};
}

ServerAddresses ServerPreferences::effective() const {
    ServerAddresses addresses = stored();
    const auto data = overriding(overrides_.dataServer, kDataServerVariable);
    const auto quote = overriding(overrides_.quoteServer, kQuoteServerVariable);
    if (data) {
        // A data server named alone serves the quotes too (as the embedded
        // one does), unless the settings name a quote service of their own.
        if (!quote && addresses.quoteServer == defaults().quoteServer)
            addresses.quoteServer = QString::fromStdString(quoteServiceOf(data->toStdString()));
        addresses.dataServer = *data;
    }
    if (quote) addresses.quoteServer = *quote;
    return addresses;
}

bool ServerPreferences::hasOverrides() const {
    return overriding(overrides_.dataServer, kDataServerVariable) ||
           overriding(overrides_.quoteServer, kQuoteServerVariable);
}

bool ServerPreferences::store(const ServerAddresses& addresses) const {
    if (!isValidServerURL(addresses.dataServer) || !isValidServerURL(addresses.quoteServer))
        return false;
    const ServerAddresses fallback = defaults();
    QSettings settings = userSettings();
    const auto write = [&](const QString& key, const QString& url, const QString& defaultURL) {
        if (url == defaultURL)
            settings.remove(key);
        else
            settings.setValue(key, url);
    };
    write(kDataKey, addresses.dataServer, fallback.dataServer);
    write(kQuoteKey, addresses.quoteServer, fallback.quoteServer);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void ServerPreferences::install() const {
    const ServerAddresses addresses = effective();
    MarketServers::install(std::make_shared<MarketServers>(addresses.dataServer.toStdString(),
                                                           addresses.quoteServer.toStdString()));
}

}  // namespace orvane::app
