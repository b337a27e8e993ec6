#pragma once
// The reference-data update: the version check against the data server's
// "/const/updateconfigfile.txt" (5 s), the version record "Config.plist"
// ({"configDate": version}), the asynchronous download of
// "/const/constdata.zip" into the data directory (under a name of this run,
// AtomicFile.h's incomingPathFor) and its safe installation
// (ReferenceArchive.h) on a worker thread, so the main thread never waits
// for it; the installation holds the data folder's lock (DataFolderLock.h).
// The finish handler runs on the main thread afterwards.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/core/ReferenceArchive.h"

namespace orvane {

class HttpRequest;

/// The version the data server publishes in its answer: "constdata=" and
/// the version, up to the end of the line (a trailing line break or blank is
/// no part of it). Nothing when the answer is no such line, or the version is
/// empty or holds control characters.
std::optional<std::string> publishedReferenceVersion(std::string_view answer);

class ReferenceUpdate : public std::enable_shared_from_this<ReferenceUpdate> {
  public:
    /// NotRecorded: up to date, but the version could not be written
    /// (`checkFailure` says why).
    enum class Check { Unreachable, Malformed, UpToDate, NotRecorded, Downloading };
    using FinishHandler = std::function<void(const ArchiveInstallResult&)>;

    static std::shared_ptr<ReferenceUpdate> create();

    /// Runs the version check at launch.
    void preparePlistFiles() { downloadConstData(); }
    /// The version check, synchronous; starts the download when the
    /// published version is newer than the recorded one (or none is
    /// recorded). A newer version is recorded once its archive is installed
    /// (an answer that is not the archive, such as a 404 page, installs
    /// nothing); any other version at once. `reinstall` downloads the
    /// archive even when the recorded version is current (damaged files).
    Check downloadConstData(bool reinstall = false);
    /// The recorded version, or nothing.
    static std::optional<std::string> getLastupdateConstData();
    /// Records the installed version; nothing, or why "Config.plist" cannot
    /// be written.
    static std::optional<std::string> recordVersion(const std::string& version);
    /// Starts the asynchronous archive download.
    void updateConstdata();
    /// Completion of the download (main thread): installs on a worker thread.
    void downloadConstDataComplete(HttpRequest& request);

    /// Called on the main thread after an installation or a failed download.
    void setFinishHandler(FinishHandler handler) { finish_ = std::move(handler); }
    /// Called on the download's thread as the archive arrives: bytes
    /// received and the archive's size (0 while unknown).
    using ProgressHandler = std::function<void(std::uint64_t received, std::uint64_t total)>;
    void setProgressHandler(ProgressHandler handler) { progress_ = std::move(handler); }
    /// Why the last version check came out Unreachable or Malformed.
    const std::string& checkFailure() const { return checkFailure_; }

  private:
    ReferenceUpdate() = default;
    void finish(ArchiveInstallResult result);
    FinishHandler finish_;
    ProgressHandler progress_;
    std::string checkFailure_;
    std::string pendingVersion_;  // recorded when its archive is installed
};

}  // namespace orvane
