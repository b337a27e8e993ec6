#pragma once
// The published tree as seen from a URL: maps a decoded URL path to a regular
// file inside the tree, and never to anything outside it (no ".." segments,
// and symbolic links are followed only while they stay inside). The tree's
// folder may itself be a symbolic link: it is resolved again for every
// lookup, so a publisher can switch it to a new tree while the server runs.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::server {

enum class TreeLookupStatus {
    Found,     ///< a regular file inside the tree
    NotFound,  ///< nothing there, not a regular file, or only reachable outside the tree
    Refused,   ///< the path itself is unacceptable (".", "..", backslash, NUL)
};

struct TreeLookup {
    TreeLookupStatus status = TreeLookupStatus::NotFound;
    std::filesystem::path file;  ///< canonical path when Found
};

/// A file's bytes read from the tree: `bytes` when Found and readable.
struct TreeFileBytes {
    TreeLookupStatus status = TreeLookupStatus::NotFound;
    std::optional<std::string> bytes;
};

class TreeFiles {
  public:
    /// The tree at `root` (made absolute), or nothing when `root` is not a
    /// directory.
    static std::optional<TreeFiles> open(const std::filesystem::path& root);

    /// `urlPath` is the decoded path below the base ("/const/hisdata/...");
    /// empty segments are ignored, so it never names an absolute path.
    TreeLookup lookup(std::string_view urlPath) const;

    /// The bytes of the file lookup() finds, by the same rules, in a few
    /// system calls: the kernel walks the path and refuses every step out of
    /// the tree (openat2 with RESOLVE_BENEATH), instead of a readlink for each
    /// segment. A link to an absolute path is judged by lookup().
    TreeFileBytes read(std::string_view urlPath) const;

    const std::filesystem::path& root() const { return root_; }

  private:
    explicit TreeFiles(std::filesystem::path root);
    std::filesystem::path root_;
};

}  // namespace orvane::server
