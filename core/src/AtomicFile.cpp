#include "orvane/core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    return "cannot write " + path.string() + ": " + std::strerror(error);
}

std::optional<std::string> replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    std::string tmpl = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return writeFailureText(path, errno);
    int error = 0;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0 && error == 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fchmod(fd, 0644) != 0) error = errno;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(tmpl.c_str(), path.c_str()) != 0) error = errno;
    if (error == 0) return std::nullopt;
    ::unlink(tmpl.c_str());
    return writeFailureText(path, error);
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    return !replaceFile(path, bytes);
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
