#pragma once
// The data folder's lock: every run that replaces files of the data folder
// (the day's lists, a report, the reference data) holds it meanwhile, so two
// runs (two commands, or a command beside the window's workers) never
// replace the same files at once. It is a flock on ".orvane.lock" in the
// folder, with the holder's process id written in it for whoever waits. The
// system drops it when its holder ends, killed or not.
//
// Locks taken on separate threads of one process exclude each other as
// locks of separate processes do; a thread that holds the lock and takes it
// again gets it at once (the inner lock does nothing).

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

#include "orvane/core/ReplaceableService.h"

namespace orvane {

/// How this process's runs wait for another run's lock: how long before they
/// give up, and who is told that they wait. The command line installs its
/// --wait and stderr; the window shows the wait on its status line.
class DataFolderWait : public ReplaceableService<DataFolderWait> {
  public:
    virtual ~DataFolderWait() = default;
    /// How long a run waits before it gives up; 60 s by default.
    virtual std::chrono::milliseconds limit() const { return std::chrono::seconds(60); }
    /// Told once a wait, on the waiting thread, with the notice
    /// ("waiting for another Orvane run on this folder (pid N)"); logs it.
    virtual void waiting(const std::string& notice);
    static std::shared_ptr<DataFolderWait> headlessDefault();
};

class DataFolderLock {
  public:
    using WaitingNotice = std::function<void(const std::string& notice)>;

    /// Takes the lock of `folder`, waiting up to `limit` while another run
    /// holds it (`waiting` hears the notice once when it must wait), and
    /// giving up at once when `stop` is requested.
    DataFolderLock(const std::filesystem::path& folder, std::chrono::milliseconds limit,
                   const WaitingNotice& waiting, std::stop_token stop = {});
    /// The data directory's lock, waiting as DataFolderWait says.
    static DataFolderLock ofDataDirectory(std::stop_token stop = {});
    ~DataFolderLock();
    DataFolderLock(DataFolderLock&& other) noexcept;
    DataFolderLock& operator=(DataFolderLock&&) = delete;
    DataFolderLock(const DataFolderLock&) = delete;

    bool held() const { return held_; }
    /// Why the lock was not taken: the notice, and that the wait ran out or
    /// was stopped; or that the lock file cannot be opened.
    const std::string& failure() const { return failure_; }

    /// "waiting for another Orvane run on this folder (pid N)"; "pid
    /// unknown" when the holder's id cannot be read.
    static std::string waitingNotice(long pid);

  private:
    int fd_ = -1;
    bool held_ = false;
    bool nested_ = false;
    std::filesystem::path folder_;
    std::string failure_;
};

}  // namespace orvane
