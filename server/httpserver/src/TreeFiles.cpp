#include "orvane/httpserver/TreeFiles.h"

#include <algorithm>
#include <system_error>

#include "PathSegments.h"

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
