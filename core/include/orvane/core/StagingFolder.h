#pragma once
// A folder built whole beside its place and swapped in at the end, so no one
// ever sees it half written: the staging folder ".NAME.staging-PID" beside
// the target. A process that was killed leaves its staging folder behind;
// the next one removes the folders of processes that no longer run.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

/// The folder `path` names, made absolute, without "." parts and the trailing
/// separator ("out/" and "out/." are "out"), so that it has a name to stage
/// beside.
std::filesystem::path folderPathOf(const std::filesystem::path& path);

/// Why a staging folder cannot be made beside `target` (the target is a file,
/// the folder above cannot be written, ...), or nothing when it can: a run
/// asks before its work, so that it does not fail at the end. The folders
/// above the target are made; the staging folder is removed again.
std::optional<std::string> stagingProblemFor(const std::filesystem::path& target);

/// The staging folder of process `pid` for `target`.
std::filesystem::path stagingFolderFor(const std::filesystem::path& target, long pid);

/// Whether process `pid` still runs (a leftover of a run that does not is
/// stale).
bool isProcessRunning(long pid);

/// Removes the staging folders beside `target` whose process no longer runs;
/// the folders removed.
std::vector<std::filesystem::path> removeStaleStagingFolders(const std::filesystem::path& target);

/// Puts the staged folder in place of `target` (which need not exist): one
/// atomic exchange where the system offers it, else two renames; the old
/// folder is removed. False, with both folders as they were, on failure.
bool swapFolderIn(const std::filesystem::path& staging, const std::filesystem::path& target);

}  // namespace orvane
