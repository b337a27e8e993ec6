#pragma once
// Whole-file reads and atomic whole-file writes (temporary file in the same
// folder, flushed, then renamed over the old one).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

/// The whole file as bytes, or nothing when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path);
/// Writes atomically; false (and the old file untouched) on failure, which
/// `lastWriteFailure` (FileWrites.h) then names.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

/// Where a download that is checked before it replaces `target` lands:
/// beside it, "<name>.incoming".
std::filesystem::path incomingPathFor(const std::filesystem::path& target);

}  // namespace orvane
