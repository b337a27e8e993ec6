#pragma once
// A folder built whole beside its place and swapped in at the end, so no one
// ever sees it half written: the staging folder ".NAME.staging-PID" beside
// the target. A process that was killed leaves its staging folder behind;
// the next one removes the folders of processes that no longer run.

#include <filesystem>
#include <vector>

namespace orvane {

/// The staging folder of process `pid` for `target`.
std::filesystem::path stagingFolderFor(const std::filesystem::path& target, long pid);

/// Removes the staging folders beside `target` whose process no longer runs;
/// the folders removed.
std::vector<std::filesystem::path> removeStaleStagingFolders(const std::filesystem::path& target);

/// Puts the staged folder in place of `target` (which need not exist): one
/// atomic exchange where the system offers it, else two renames; the old
/// folder is removed. False, with both folders as they were, on failure.
bool swapFolderIn(const std::filesystem::path& staging, const std::filesystem::path& target);

}  // namespace orvane
