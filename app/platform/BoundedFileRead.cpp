#include "platform/BoundedFileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace orvane::app {

namespace {

namespace fs = std::filesystem;
using Outcome = BoundedFileRead::Outcome;

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

BoundedFileRead readBoundedFile(const fs::path& file, std::uintmax_t limit) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec))) return {Outcome::Missing, {}};
    // Not blocking: opening a FIFO without a writer returns at once.
    const Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) return {errno == EISDIR ? Outcome::NotAFile : Outcome::Unreadable, {}};
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) return {Outcome::Unreadable, {}};
    if (!S_ISREG(status.st_mode)) return {Outcome::NotAFile, {}};
    if (static_cast<std::uintmax_t>(status.st_size) > limit) return {Outcome::TooLarge, {}};

    // The file may grow while it is read: one byte past the limit tells.
    BoundedFileRead result{Outcome::Read, {}};
    result.bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t filled = 0;
    while (true) {
        if (filled == result.bytes.size()) {
            if (filled > limit) return {Outcome::TooLarge, {}};
            result.bytes.resize(std::min<std::uintmax_t>(filled * 2 + 4096, limit + 1));
        }
        const ssize_t n =
            ::read(fd.get(), result.bytes.data() + filled, result.bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            return {Outcome::Unreadable, {}};
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    if (filled > limit) return {Outcome::TooLarge, {}};
    result.bytes.resize(filled);
    return result;
}

}  // namespace orvane::app
