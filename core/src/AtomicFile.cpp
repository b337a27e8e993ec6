#include "orvane/core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "orvane/core/FileWrites.h"
#include "orvane/core/StagingFolder.h"

namespace orvane {

namespace {

constexpr std::string_view kIncomingMark = ".incoming-";

/// The pid of an incoming name "<name>.incoming-<pid>-<n>", or nothing.
std::optional<long> incomingOwner(const std::string& name) {
    const auto mark = name.rfind(kIncomingMark);
    if (mark == std::string::npos) return std::nullopt;
    const std::string rest = name.substr(mark + kIncomingMark.size());
    const auto dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 9 || dash + 1 == rest.size())
        return std::nullopt;
    if (rest.find_first_not_of("0123456789-") != std::string::npos ||
        rest.find('-', dash + 1) != std::string::npos)
        return std::nullopt;
    return std::stol(rest.substr(0, dash));
}

}  // namespace

std::optional<std::string> readFile(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string out;
    // Read straight into a string of the file's size; what a file that grows
    // meanwhile (or one that tells no size, as /proc's) holds beyond it is
    // read on below.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        out.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (got < out.size()) {
            const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
            if (n < 0) {
                ::close(fd);
                return std::nullopt;
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        out.resize(got);
    }
    char buffer[1 << 16];
    while (true) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return out;
}

std::string writeFailureText(const std::filesystem::path& path, int error) {
    return describe(WriteFailure{WriteStep::Write, path, error});
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    NewFile file = NewFile::temporaryBeside(path);
    if (file.isOpen() && file.write(bytes) && file.flush() && file.renameTo(path)) return true;
    blameWriteFailureOn(path);
    file.discard();
    return false;
}

std::optional<std::string> replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    forgetWriteFailure();
    if (writeFileAtomically(path, bytes)) return std::nullopt;
    return lastWriteFailureText(writeFailureText(path, EIO));
}

std::filesystem::path incomingPathFor(const std::filesystem::path& target) {
    static std::atomic<unsigned long> requests{0};
    std::filesystem::path p = target;
    p += std::string(kIncomingMark) + std::to_string(::getpid()) + "-" + std::to_string(++requests);
    return p;
}

std::vector<std::filesystem::path> removeStaleIncomingFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> removed;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const auto owner = incomingOwner(entry.path().filename().string());
        if (!owner || isProcessRunning(*owner) || !entry.is_regular_file(ec)) continue;
        if (std::filesystem::remove(entry.path(), ec)) removed.push_back(entry.path());
    }
    return removed;
}

}  // namespace orvane
