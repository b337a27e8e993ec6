#include "orvane/market/ReferenceUpdate.h"

#include <algorithm>
#include <thread>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/DataFolderLock.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/Log.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ReferenceInstallGate.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/ServerPaths.h"

namespace orvane {

namespace {
constexpr std::string_view kVersionPrefix = "constdata=";
constexpr double kVersionTimeOut = 5.0;

std::filesystem::path configPath() {
    return dataPath("Config.plist");
}
std::filesystem::path archivePath() {
    return dataPath("constdata.zip");
}
}  // namespace

std::optional<std::string> publishedReferenceVersion(std::string_view answer) {
    if (!answer.starts_with(kVersionPrefix)) return std::nullopt;
    std::string_view version = answer.substr(kVersionPrefix.size());
    version = version.substr(0, version.find('\n'));
    while (!version.empty() && (version.back() == '\r' || version.back() == ' '))
        version.remove_suffix(1);
    // Recorded in "Config.plist", the version must read back unchanged.
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    if (version.empty() || std::any_of(version.begin(), version.end(), control))
        return std::nullopt;
    return std::string(version);
}

std::shared_ptr<ReferenceUpdate> ReferenceUpdate::create() {
    return std::shared_ptr<ReferenceUpdate>(new ReferenceUpdate());
}

std::optional<std::string> ReferenceUpdate::getLastupdateConstData() {
    auto plist = readPropertyList(configPath());
    if (!plist || !plist->isDictionary()) return std::nullopt;
    const Value* date = find(plist->dictionary(), "configDate");
    if (!date || !date->isString()) return std::nullopt;
    return date->string();
}

std::optional<std::string> ReferenceUpdate::recordVersion(const std::string& version) {
    return replacePropertyList(configPath(), Dictionary{{"configDate", version}});
}

ReferenceUpdate::Check ReferenceUpdate::downloadConstData(bool reinstall) {
    ensureDataDirectoryExists();
    getTrendupModePath();

    auto request = HttpRequest::requestWithURL(dataServerURL(serverpath::kUpdateConfigFile));
    request->setTimeOutSeconds(kVersionTimeOut);
    request->startSynchronous();
    if (request->error()) {
        checkFailure_ = *request->error();
        return Check::Unreachable;
    }
    const auto published = publishedReferenceVersion(request->responseString().value_or(""));
    if (!published) {
        checkFailure_ =
            request->responseStatusCode() == 200
                ? "it is not one line \"" + std::string(kVersionPrefix) + "VERSION\""
                : "the data server answered HTTP " + std::to_string(request->responseStatusCode());
        return Check::Malformed;
    }

    const std::string& newVersion = *published;
    const auto oldVersion = getLastupdateConstData();
    if (oldVersion && !(*oldVersion < newVersion) && !reinstall) {
        if (auto failure = recordVersion(newVersion)) {
            checkFailure_ = std::move(*failure);
            return Check::NotRecorded;
        }
        return Check::UpToDate;
    }
    // The new version is recorded once its archive is installed: a failed
    // download must not make every later check say "up to date".
    pendingVersion_ = newVersion;
    updateConstdata();
    return Check::Downloading;
}

void ReferenceUpdate::updateConstdata() {
    // Closed until the archive is installed or will not be: each way below
    // ends it once.
    ReferenceInstallGate::shared().begin();
    // Two runs on one data folder each download their own archive.
    const auto target = incomingPathFor(archivePath());
    auto request = HttpRequest::requestWithURL(dataServerURL(serverpath::kConstDataZip));
    request->setDownloadDestinationPath(target);
    request->setProgressHandler(progress_);
    request->setCompletionBlock(
        [self = shared_from_this()](HttpRequest& r) { self->downloadConstDataComplete(r); });
    request->setFailedBlock([self = shared_from_this()](HttpRequest& r) {
        ORVANE_LOG("error=%s", r.error()->c_str());
        ReferenceInstallGate::shared().end();
        self->finish({false, "the download failed: " + *r.error(), 0, r.localWriteFailed()});
    });
    request->startAsynchronous();
}

void ReferenceUpdate::downloadConstDataComplete(HttpRequest& request) {
    const auto target = request.downloadDestinationPath();
    ORVANE_LOG("%s downloadConstDataComplete", target.c_str());
    if (request.responseStatusCode() != 200) {
        std::error_code ec;
        std::filesystem::remove(target, ec);
        ReferenceInstallGate::shared().end();
        finish({false,
                "the data server answered HTTP " + std::to_string(request.responseStatusCode()),
                0});
        return;
    }
    const auto dataDir = dataDirectory();
    std::thread([self = shared_from_this(), target, dataDir, version = pendingVersion_] {
        ArchiveInstallResult result;
        {
            // Another run may be installing or replacing the day's files.
            const DataFolderLock lock = DataFolderLock::ofDataDirectory();
            if (lock.held()) {
                removeStaleIncomingFiles(dataDir);
                result = installReferenceArchive(target, dataDir);
                std::error_code ec;
                std::filesystem::remove_all(dataDir / "__MACOSX", ec);
                if (auto failure = result.installed && !version.empty() ? recordVersion(version)
                                                                        : std::nullopt) {
                    // Installed, but a later check would not know it: the
                    // next one installs the archive again.
                    result.installed = false;
                    result.writeFailed = true;
                    result.reason =
                        "the reference data was installed but its version was not recorded: " +
                        *failure;
                }
            } else {
                result.reason = lock.failure();
            }
        }
        std::error_code ec;
        std::filesystem::remove(target, ec);
        if (result.installed)
            SectorGroups::shared().invalidate();
        else
            ORVANE_LOG("reference data not installed: %s", result.reason.c_str());
        ReferenceInstallGate::shared().end();
        postToMainThread([self, result] { self->finish(result); });
    }).detach();
}

void ReferenceUpdate::finish(ArchiveInstallResult result) {
    pendingVersion_.clear();
    if (finish_) finish_(result);
}

}  // namespace orvane
