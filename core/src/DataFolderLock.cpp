#include "orvane/core/DataFolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

#include "orvane/core/DataDirectory.h"
#include "orvane/core/Log.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLockFile = ".orvane.lock";
/// The holder's id is written over the same bytes each time, so that the
/// file never grows (a full disk must not keep a run from taking the lock).
constexpr std::size_t kPidField = 16;
constexpr auto kPoll = std::chrono::milliseconds(20);
/// A holder writes its id just after it took the lock: a waiter that finds
/// none yet looks again for this long before it says it waits.
constexpr auto kPidGrace = std::chrono::milliseconds(200);

/// The folders this thread holds the lock of.
thread_local std::vector<fs::path> t_held;

long holderOf(int fd) {
    char text[kPidField + 1] = {0};
    const ssize_t n = ::pread(fd, text, kPidField, 0);
    if (n <= 0) return 0;
    return std::strtol(text, nullptr, 10);
}

void writeHolder(int fd, long pid) {
    std::string field = pid > 0 ? std::to_string(pid) : std::string();
    field.resize(kPidField - 1, ' ');
    field += '\n';
    [[maybe_unused]] const ssize_t n = ::pwrite(fd, field.data(), field.size(), 0);
}

std::string secondsText(std::chrono::milliseconds limit) {
    const auto ms = limit.count();
    if (ms % 1000 == 0) return std::to_string(ms / 1000) + " s";
    return std::to_string(ms) + " ms";
}

}  // namespace

void DataFolderWait::waiting(const std::string& notice) {
    ORVANE_LOG("%s", notice.c_str());
}

std::shared_ptr<DataFolderWait> DataFolderWait::headlessDefault() {
    return std::make_shared<DataFolderWait>();
}

std::string DataFolderLock::waitingNotice(long pid) {
    return "waiting for another Orvane run on this folder (" +
           (pid > 0 ? "pid " + std::to_string(pid) : std::string("pid unknown")) + ")";
}

DataFolderLock::DataFolderLock(const fs::path& folder, std::chrono::milliseconds limit,
                               const WaitingNotice& waiting, std::stop_token stop)
    : folder_(folder) {
    if (std::find(t_held.begin(), t_held.end(), folder_) != t_held.end()) {
        held_ = nested_ = true;
        return;
    }
    const fs::path file = folder_ / kLockFile;
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        failure_ = "cannot open the lock file " + file.string() + ": " + std::strerror(errno);
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + limit;
    bool told = false;
    long holder = 0;
    while (true) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            break;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            failure_ = "cannot lock " + file.string() + ": " + std::strerror(errno);
            break;
        }
        if (const long pid = holderOf(fd_); pid > 0) holder = pid;
        const auto now = std::chrono::steady_clock::now();
        if (!told && (holder > 0 || now - start >= kPidGrace || now >= deadline)) {
            told = true;
            if (waiting) waiting(waitingNotice(holder));
        }
        if (stop.stop_requested()) {
            failure_ = "stopped while " + waitingNotice(holder);
            break;
        }
        if (now >= deadline) {
            failure_ = waitingNotice(holder) + ": it still ran after " + secondsText(limit);
            break;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(kPoll, deadline - now));
    }
    if (!held_) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    writeHolder(fd_, ::getpid());
    t_held.push_back(folder_);
}

DataFolderLock DataFolderLock::ofDataDirectory(std::stop_token stop) {
    const auto wait = DataFolderWait::shared();
    ensureDataDirectoryExists();
    return DataFolderLock(
        dataDirectory(), wait->limit(),
        [wait](const std::string& notice) { wait->waiting(notice); }, stop);
}

DataFolderLock::DataFolderLock(DataFolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      held_(std::exchange(other.held_, false)),
      nested_(std::exchange(other.nested_, false)),
      folder_(std::move(other.folder_)),
      failure_(std::move(other.failure_)) {}

DataFolderLock::~DataFolderLock() {
    if (!held_ || nested_) return;
    if (auto it = std::find(t_held.begin(), t_held.end(), folder_); it != t_held.end())
        t_held.erase(it);
    writeHolder(fd_, 0);
    ::close(fd_);  // drops the lock
}

}  // namespace orvane
