#pragma once
// Setting a file aside: a file the program cannot use (a corrupt settings
// file, a property list too deeply nested to read) is renamed beside itself
// instead of being overwritten or deleted, so that the next save does not
// destroy what the user may want to look at.

#include <filesystem>
#include <optional>

namespace orvane {

/// Moves `file` to the first free "<name>.unreadable-<yyyyMMdd-HHmmss>[-n]"
/// beside it (the stamp from the process clock, local time; nothing is ever
/// overwritten). The new path, or nothing when the move failed.
std::optional<std::filesystem::path> setFileAside(const std::filesystem::path& file);

}  // namespace orvane
