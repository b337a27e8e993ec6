#include "orvane/httpserver/TreeFiles.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "PathSegments.h"
#include "orvane/core/AtomicFile.h"

namespace orvane::server {

namespace fs = std::filesystem;

namespace {

bool acceptableSegment(std::string_view segment) {
    if (segment == "." || segment == "..") return false;
    return segment.find('\\') == std::string_view::npos &&
           segment.find('\0') == std::string_view::npos;
}

/// True when `path` is `root` or below it (both canonical).
bool isInside(const fs::path& path, const fs::path& root) {
    auto [rootEnd, pathEnd] = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
    return rootEnd == root.end();
}

/// `relative` below the folder `dir`, opened for reading only when every step,
/// links included, stays below it; -1 with errno otherwise (EXDEV for a step
/// out or a link to an absolute path).
int openBeneath(int dir, const std::string& relative) {
    open_how how{};
    // Never blocks on a pipe, never becomes a controlling terminal: whatever
    // it is, it is looked at before it is read.
    how.flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    return static_cast<int>(::syscall(SYS_openat2, dir, relative.c_str(), &how, sizeof how));
}

/// The whole of a regular file; nothing for anything else.
std::optional<std::string> readRegularFile(int fd, bool& regular) {
    struct stat st {};
    regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!regular) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;  // shorter than it was a moment ago
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace

TreeFiles::TreeFiles(fs::path root) : root_(std::move(root)) {}

std::optional<TreeFiles> TreeFiles::open(const fs::path& root) {
    std::error_code ec;
    fs::path absolute = fs::absolute(root, ec).lexically_normal();
    if (ec || !fs::is_directory(absolute, ec)) return std::nullopt;
    if (!absolute.has_filename()) absolute = absolute.parent_path();  // "tree/" → "tree"
    return TreeFiles(std::move(absolute));
}

TreeLookup TreeFiles::lookup(std::string_view urlPath) const {
    // The root is resolved anew each time: a publisher may point a symbolic
    // link at a fresh tree, and each request sees one tree or the other.
    std::error_code ec;
    const fs::path realRoot = fs::canonical(root_, ec);
    if (ec) return {TreeLookupStatus::NotFound, {}};

    // Built segment by segment below the root: an empty segment is skipped,
    // so "//etc/passwd" stays inside the tree instead of replacing it.
    fs::path candidate = realRoot;
    for (std::string_view segment : pathSegments(urlPath)) {
        if (!acceptableSegment(segment)) return {TreeLookupStatus::Refused, {}};
        candidate /= fs::path(std::string(segment));
    }

    // Symbolic links are resolved and the result must still lie in the tree.
    fs::path resolved = fs::canonical(candidate, ec);
    if (ec || !isInside(resolved, realRoot)) return {TreeLookupStatus::NotFound, {}};
    if (!fs::is_regular_file(resolved, ec)) return {TreeLookupStatus::NotFound, {}};
    return {TreeLookupStatus::Found, std::move(resolved)};
}

}  // namespace orvane::server

namespace orvane::server {

TreeFileBytes TreeFiles::read(std::string_view urlPath) const {
    std::string relative;
    for (std::string_view segment : pathSegments(urlPath)) {
        if (!acceptableSegment(segment)) return {TreeLookupStatus::Refused, {}};
        if (!relative.empty()) relative += '/';
        relative += segment;
    }
    if (relative.empty()) return {};  // the tree's folder itself
    // The root is opened anew each time, like lookup() resolves it anew.
    const int dir = ::open(root_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return {};
    const int fd = openBeneath(dir, relative);
    const int error = errno;
    ::close(dir);
    if (fd < 0) {
        if (error == ENOENT || error == ENOTDIR) return {};
        // A link to an absolute path, a kernel without openat2, no permission:
        // the path is resolved the slow way.
        TreeLookup found = lookup(urlPath);
        if (found.status != TreeLookupStatus::Found) return {found.status, {}};
        return {TreeLookupStatus::Found, readFile(found.file)};
    }
    bool regular = false;
    std::optional<std::string> bytes = readRegularFile(fd, regular);
    ::close(fd);
    if (!regular) return {};
    return {TreeLookupStatus::Found, std::move(bytes)};
}

}  // namespace orvane::server
