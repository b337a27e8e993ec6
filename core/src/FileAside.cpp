#include "orvane/core/FileAside.h"

#include <string>
#include <system_error>

#include "orvane/core/Clock.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

std::string stamp(const LocalDateTime& t) {
    return format("%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace

std::optional<fs::path> setFileAside(const fs::path& file) {
    const std::string base = file.filename().string() + ".unreadable-" + stamp(toLocal(now()));
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        const fs::path candidate =
            file.parent_path() / (n == 1 ? base : base + "-" + std::to_string(n));
        if (fs::exists(fs::symlink_status(candidate, ec))) continue;
        if (!renameFile(file, candidate)) return std::nullopt;
        return candidate;
    }
    return std::nullopt;
}

}  // namespace orvane
