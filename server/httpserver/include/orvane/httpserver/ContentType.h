#pragma once
// The content type a tree file is served with, by its extension.

#include <filesystem>
#include <string_view>

namespace orvane::server {

/// text/plain for .txt, application/zip for .zip, image/png for .png,
/// application/octet-stream otherwise.
std::string_view contentTypeFor(const std::filesystem::path& file);

}  // namespace orvane::server
