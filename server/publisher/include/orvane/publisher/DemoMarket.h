#pragma once
// The built-in demo market that `orvane-server demo` serves.

#include <filesystem>

namespace orvane::server {

/// Makes sure `tree` holds a published demo market: publishes the synthetic
/// market there when it is not there yet. False (with a log line saying why)
/// when the tree could not be made.
bool ensureDemoTree(const std::filesystem::path& tree);

}  // namespace orvane::server
