#pragma once
// A publish builds the new tree in a staging folder beside it,
// ".NAME.staging-PID", and swaps it in at the end. A publish that was killed
// leaves its folder behind (as large as a tree); the next publish removes
// the folders of processes that no longer run.

#include <filesystem>
#include <vector>

namespace orvane::server {

/// The staging folder of process `pid` for `tree`.
std::filesystem::path stagingFolderFor(const std::filesystem::path& tree, long pid);

/// Removes the staging folders beside `tree` whose process no longer runs;
/// the folders removed.
std::vector<std::filesystem::path> removeStaleStagingFolders(const std::filesystem::path& tree);

}  // namespace orvane::server
