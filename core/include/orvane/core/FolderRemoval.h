#pragma once
// Removing a large folder tree (a published market: 300,000 files) with
// several removals in flight. On a disk where each removal waits for the
// device, one at a time takes minutes where sixteen take seconds.

#include <filesystem>

namespace orvane {

/// Removes `folder` and everything below it, symbolic links as links (never
/// what they point at). True when nothing of it is left; a missing folder is
/// nothing to do.
bool removeFolderTree(const std::filesystem::path& folder);

}  // namespace orvane
