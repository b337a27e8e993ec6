#include "CommandSupport.h"

#include <cstdio>

#include <optional>

#include "orvane/core/NumberText.h"
#include "orvane/core/RunLoop.h"
#include "orvane/market/ReferenceUpdate.h"

namespace orvane::cli {

ServerCommand addServerCommand(CLI::App& app, const std::string& name,
                               const std::string& description) {
    ServerCommand c{app.add_subcommand(name, description), std::make_shared<ServerOptions>()};
    c.cmd->add_option("--server", c.servers->server, "the data server's base URL")
        ->capture_default_str();
    c.cmd->add_option("--quote-server", c.servers->quoteServer, "the quote service's address")
        ->capture_default_str();
    return c;
}

void applyServers(const ServerOptions& o) {
    MarketServers::install(std::make_shared<MarketServers>(o.server, o.quoteServer));
}

ReferenceCheck updateReferenceData() {
    ScopedRunLoop loop;
    auto update = ReferenceUpdate::create();
    std::optional<ArchiveInstallResult> result;
    update->setFinishHandler([&](const ArchiveInstallResult& r) { result = r; });
    const auto version = [] { return ReferenceUpdate::getLastupdateConstData().value_or("?"); };
    switch (update->downloadConstData()) {
        case ReferenceUpdate::Check::Unreachable:
            return {false, false,
                    "the data server cannot be reached: " + MarketServers::shared()->dataServer};
        case ReferenceUpdate::Check::Malformed:
            return {false, true, "the data server's version file is malformed"};
        case ReferenceUpdate::Check::UpToDate:
            return {true, true, "reference data is up to date (" + version() + ")"};
        case ReferenceUpdate::Check::Downloading:
            break;
    }
    loop.loop().runUntil([&] { return result.has_value(); }, std::chrono::hours(1));
    if (!result || !result->installed)
        return {false, true,
                "the reference data was not installed: " + (result ? result->reason : "no answer") +
                    "; the previous reference data is kept"};
    return {true, true,
            "installed reference data " + version() + " (" + std::to_string(result->entries) +
                " entries)"};
}

void fail(const std::string& message) {
    std::fprintf(stderr, "orvane: %s\n", message.c_str());
    throw CLI::RuntimeError(1);
}

void printRecord(const Dictionary& record, int indent) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    for (const auto& [key, value] : record) {
        if (value.isDictionary()) {
            std::printf("%s%s:\n", pad.c_str(), key.c_str());
            printRecord(value.dictionary(), indent + 2);
        } else {
            std::printf("%s%s=%s\n", pad.c_str(), key.c_str(), describe(value).c_str());
        }
    }
}

std::string withUnixNewlines(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace orvane::cli
