#pragma once
// The folder of the demo market in the user's cache:
// $XDG_CACHE_HOME/Orvane/demo-tree, else ~/.cache/Orvane/demo-tree.

#include <filesystem>

namespace orvane::server {

std::filesystem::path demoTreeFolder();

}  // namespace orvane::server
