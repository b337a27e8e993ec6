#include "orvane/core/FileWrites.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "orvane/core/WriteFaults.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

thread_local std::optional<WriteFailure> tLastFailure;

/// Notes a failure with the current errno, and keeps errno as it was.
bool failed(WriteStep step, const fs::path& file, int error) {
    tLastFailure = WriteFailure{step, file, error};
    errno = error;
    return false;
}

/// Counts an operation; false (errno set) when the plan fails it.
bool allowed(WriteStep step, const fs::path& file) {
    if (const int error = countWriteOperation()) return failed(step, file, error);
    return true;
}

const char* verb(WriteStep step) {
    switch (step) {
        case WriteStep::Create:
            return "cannot create";
        case WriteStep::Write:
            return "cannot write";
        case WriteStep::Flush:
            return "cannot flush";
        case WriteStep::Rename:
            return "cannot move into place";
    }
    return "cannot write";
}

}  // namespace

std::string describe(const WriteFailure& failure) {
    return std::string(verb(failure.step)) + " " + failure.file.string() + ": " +
           std::strerror(failure.error);
}

std::optional<WriteFailure> lastWriteFailure() {
    return tLastFailure;
}

void forgetWriteFailure() {
    tLastFailure.reset();
}

std::string lastWriteFailureText(std::string_view otherwise) {
    return tLastFailure ? describe(*tLastFailure) : std::string(otherwise);
}

void blameWriteFailureOn(const fs::path& file) {
    if (tLastFailure) tLastFailure->file = file;
}

NewFile::NewFile(int fd, fs::path path, bool temporary)
    : fd_(fd), path_(std::move(path)), temporary_(temporary), created_(fd >= 0) {}

NewFile::NewFile(NewFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      temporary_(std::exchange(other.temporary_, false)),
      created_(std::exchange(other.created_, false)),
      written_(other.written_) {}

NewFile::~NewFile() {
    if (temporary_)
        discard();
    else if (fd_ >= 0)
        ::close(fd_);
}

NewFile NewFile::create(const fs::path& path) {
    if (!allowed(WriteStep::Create, path)) return NewFile(-1, path, false);
    return open(path);
}

NewFile NewFile::createMakingFolders(const fs::path& path) {
    if (!allowed(WriteStep::Create, path)) return NewFile(-1, path, false);
    // The folders are made only when the file cannot be made without them: a
    // publish writes hundreds of thousands of files into folders that are
    // there, and a look at the folder before each would cost a call each.
    const auto noted = tLastFailure;
    NewFile file = open(path);
    if (file.isOpen() || errno != ENOENT || path.parent_path().empty()) return file;
    tLastFailure = noted;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec) {
        failed(WriteStep::Create, path.parent_path(), ec.value());
        return NewFile(-1, path, false);
    }
    return open(path);
}

NewFile NewFile::open(const fs::path& path) {
    constexpr int kFlags = O_WRONLY | O_CLOEXEC | O_NOFOLLOW;
    int fd = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0644);
    if (fd >= 0) return NewFile(fd, path, false);
    // A file that was there is truncated, and never removed by `discard`:
    // it may be no file of ours (a device).
    if (errno == EEXIST) fd = ::open(path.c_str(), kFlags | O_TRUNC);
    if (fd < 0) failed(WriteStep::Create, path, errno);
    NewFile file(fd, path, false);
    file.created_ = false;
    return file;
}

NewFile NewFile::temporaryBeside(const fs::path& target) {
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    if (!allowed(WriteStep::Create, target)) return NewFile(-1, target, false);
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        failed(WriteStep::Create, target, errno);
        return NewFile(-1, target, false);
    }
    ::fchmod(fd, 0644);
    return NewFile(fd, pattern, true);
}

bool NewFile::write(std::string_view bytes) {
    if (fd_ < 0) return failed(WriteStep::Write, path_, EBADF);
    if (!written_) {
        written_ = true;
        if (!allowed(WriteStep::Write, path_)) return false;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return failed(WriteStep::Write, path_, n < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool NewFile::flush() {
    if (fd_ < 0) return failed(WriteStep::Flush, path_, EBADF);
    if (!allowed(WriteStep::Flush, path_)) return false;
    return ::fsync(fd_) == 0 || failed(WriteStep::Flush, path_, errno);
}

bool NewFile::close() {
    if (fd_ < 0) return failed(WriteStep::Write, path_, EBADF);
    const int rc = ::close(std::exchange(fd_, -1));
    return rc == 0 || failed(WriteStep::Write, path_, errno);
}

void NewFile::discard() {
    const int saved = errno;
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    if (created_) ::unlink(path_.c_str());
    temporary_ = created_ = false;
    errno = saved;
}

bool NewFile::renameTo(const fs::path& target) {
    if (fd_ >= 0 && !close()) return false;
    if (!renameFile(path_, target)) return false;
    temporary_ = created_ = false;
    path_ = target;
    return true;
}

bool writeNewFile(const fs::path& path, std::string_view bytes) {
    NewFile file = NewFile::createMakingFolders(path);
    if (file.isOpen() && file.write(bytes) && file.close()) return true;
    file.discard();
    return false;
}

bool renameFile(const fs::path& from, const fs::path& to) {
    if (!allowed(WriteStep::Rename, to)) return false;
    return ::rename(from.c_str(), to.c_str()) == 0 || failed(WriteStep::Rename, to, errno);
}

bool exchangeFiles(const fs::path& a, const fs::path& b) {
    if (!allowed(WriteStep::Rename, b)) return false;
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0 ||
           failed(WriteStep::Rename, b, errno);
}

bool makeFolders(const fs::path& folder) {
    if (!allowed(WriteStep::Create, folder)) return false;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec) return true;
    return failed(WriteStep::Create, folder, ec.value());
}

fs::path makeUniqueFolder(const fs::path& parent, const std::string& prefix) {
    std::string pattern = (parent / (prefix + "XXXXXX")).string();
    if (!allowed(WriteStep::Create, parent / prefix)) return {};
    if (::mkdtemp(pattern.data())) return pattern;
    failed(WriteStep::Create, parent / prefix, errno);
    return {};
}

}  // namespace orvane
