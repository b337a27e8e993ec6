#pragma once
// Builds zip archives for the tests (minizip's writer).

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace orvane::test {

/// Entries in order: raw entry name and contents (a name ending in "/" is a
/// folder entry). True when the archive was written.
bool writeZip(const std::filesystem::path& path,
              const std::vector<std::pair<std::string, std::string>>& entries);

}  // namespace orvane::test
