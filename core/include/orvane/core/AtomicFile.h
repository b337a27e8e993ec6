#pragma once
// Whole-file reads and atomic whole-file writes (temporary file in the same
// folder, flushed, then renamed over the old one), and the names downloads
// land under before they are checked.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// The whole file as bytes, or nothing when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path);
/// Writes atomically; nothing once written, else what went wrong ("cannot
/// write PATH: CAUSE", FileWrites.h), with the old file untouched.
std::optional<std::string> replaceFile(const std::filesystem::path& path, std::string_view bytes);
/// Writes atomically; false (and the old file untouched) on failure, which
/// `lastWriteFailure` (FileWrites.h) then names.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

/// "cannot write PATH: CAUSE", the cause the system's text for `error`.
std::string writeFailureText(const std::filesystem::path& path, int error);

/// Where a download that is checked before it replaces `target` lands:
/// beside it, under a name of this process and request alone,
/// "<name>.incoming-<pid>-<n>", so that two runs never share one.
std::filesystem::path incomingPathFor(const std::filesystem::path& target);
/// Removes the downloads of `folder` ("*.incoming-<pid>-<n>") whose process
/// no longer runs; the files removed.
std::vector<std::filesystem::path> removeStaleIncomingFiles(const std::filesystem::path& folder);

}  // namespace orvane
