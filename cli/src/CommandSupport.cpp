#include "CommandSupport.h"

#include <cstdio>

#include <optional>

#include "ProgressLine.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/DataFolderLock.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/RunLoop.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/ReferenceUpdate.h"

namespace orvane::cli {

ServerCommand addServerCommand(CLI::App& app, const std::string& name,
                               const std::string& description) {
    ServerCommand c{app.add_subcommand(name, description), std::make_shared<ServerOptions>()};
    c.cmd->add_option("--server", c.servers->server,
                      "the data server's base URL (else $ORVANE_SERVER, else " +
                          MarketServers{}.dataServer + ")");
    c.cmd->add_option("--quote-server", c.servers->quoteServer,
                      "the quote service's address (else $ORVANE_QUOTE_SERVER, else the data "
                      "server's host: http://HOST:PORT/)");
    return c;
}

void addWaitOption(const ServerCommand& command) {
    command.cmd
        ->add_option("--wait", command.servers->waitSeconds,
                     "seconds to wait while another Orvane run replaces files of the data "
                     "folder, then fail")
        ->check(CLI::Range(0, 24 * 3600))
        ->capture_default_str();
}

namespace {

/// Waits --wait seconds for another run's lock, saying so on stderr.
class StderrFolderWait final : public DataFolderWait {
  public:
    explicit StderrFolderWait(int seconds) : limit_(std::chrono::seconds(seconds)) {}
    std::chrono::milliseconds limit() const override { return limit_; }
    void waiting(const std::string& notice) override {
        std::fprintf(stderr, "orvane: %s\n", notice.c_str());
    }

  private:
    std::chrono::milliseconds limit_;
};

}  // namespace

MarketServers ServerOptions::chosen() const {
    return chooseMarketServers(server, quoteServer);
}

void applyServers(const ServerOptions& o) {
    MarketServers::install(std::make_shared<MarketServers>(o.chosen()));
    DataFolderWait::install(std::make_shared<StderrFolderWait>(o.waitSeconds));
}

const char* const kExitStatusHelp =
    "Exit status: 0 done; 1 nothing found (no stock matches, no sector, no record); "
    "2 bad usage (an unknown option, a malformed code or date); 3 failed (a server, "
    "a file or the data: the message names it and the next step).";

ReferenceCheck updateReferenceData(bool reinstall) {
    requireDataDirectory();
    ScopedRunLoop loop;
    auto update = ReferenceUpdate::create();
    std::optional<ArchiveInstallResult> result;
    update->setFinishHandler([&](const ArchiveInstallResult& r) { result = r; });
    ProgressLine progress("downloading the reference data", ProgressLine::Units::Bytes);
    update->setProgressHandler([&progress](std::uint64_t received, std::uint64_t total) {
        progress.update(received, total);
    });
    const auto version = [] { return ReferenceUpdate::getLastupdateConstData().value_or("?"); };
    const std::string& server = MarketServers::shared()->dataServer;
    switch (update->downloadConstData(reinstall)) {
        case ReferenceUpdate::Check::Unreachable:
            return {false, false,
                    "the data server " + server + " cannot be reached (" + update->checkFailure() +
                        "): start it (orvane-server demo) or pass --server URL"};
        case ReferenceUpdate::Check::Malformed:
            return {false, true,
                    "the data server " + server + " gave no usable version file (" +
                        update->checkFailure() + "): is --server the data server's base URL?"};
        case ReferenceUpdate::Check::UpToDate:
            return {true, true, "reference data is up to date (" + version() + ")"};
        case ReferenceUpdate::Check::NotRecorded:
            return {false, true,
                    "the reference data's version was not recorded: " + update->checkFailure(),
                    true};
        case ReferenceUpdate::Check::Downloading:
            break;
    }
    loop.loop().runUntil([&] { return result.has_value(); }, std::chrono::hours(1));
    if (!result || !result->installed)
        return {false, true,
                "the reference data was not installed: " + (result ? result->reason : "no answer") +
                    "; the previous reference data is kept",
                result && result->writeFailed};
    return {true, true,
            "installed reference data " + version() + " (" + std::to_string(result->entries) +
                " entries)"};
}

void ensureReferenceData(const ServerOptions& servers, bool present) {
    requireDataDirectory();
    if (present) return;
    const CodeTable& table = CodeTable::shared();
    std::error_code ec;
    std::fprintf(stderr, "orvane: %s: fetching the reference data from %s\n",
                 std::filesystem::exists(table.file(), ec) ? "the reference data cannot be read"
                                                           : "no reference data yet",
                 servers.chosen().dataServer.c_str());
    applyServers(servers);
    // Installed again even when its version is recorded: files are missing.
    const ReferenceCheck check = updateReferenceData(true);
    if (!check.ok) fail(check.message);
}

std::string whyUnreadable(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) return ec.message();
    if (!std::filesystem::exists(status)) return "no such file or folder";
    if (std::filesystem::is_directory(status)) return "it is a folder";
    return "permission denied or unreadable";
}

void requireDataDirectory() {
    const std::filesystem::path dir = dataDirectory();
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (std::filesystem::is_directory(dir, ec)) return;
    fail("the data directory " + dir.string() + " is not a folder" +
         (ec ? " (" + ec.message() + ")" : "") +
         ": point ORVANE_DATA_DIR at a folder, or unset it for the default");
}

void fail(const std::string& message) {
    std::fprintf(stderr, "orvane: %s\n", message.c_str());
    throw CLI::RuntimeError(kFailed);
}

void nothingFound(const std::string& message) {
    std::fprintf(stderr, "orvane: %s\n", message.c_str());
    throw CLI::RuntimeError(kNothingFound);
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
