#include "orvane/httpserver/ContentType.h"

namespace orvane::server {

std::string_view contentTypeFor(const std::filesystem::path& file) {
    const std::string ext = file.extension().string();
    if (ext == ".txt") return "text/plain";
    if (ext == ".zip") return "application/zip";
    if (ext == ".png") return "image/png";
    return "application/octet-stream";
}

}  // namespace orvane::server
