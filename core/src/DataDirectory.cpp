#include "orvane/core/DataDirectory.h"

#include <cstdlib>

#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"

namespace orvane {

namespace fs = std::filesystem;

fs::path dataDirectory() {
    if (const char* dir = std::getenv("ORVANE_DATA_DIR"); dir && *dir) return fs::path(dir);
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return fs::path(xdg) / "Orvane";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : ".") / ".local" / "share" / "Orvane";
}

fs::path dataPath(std::string_view relative) {
    return dataDirectory() / relative;
}

void ensureDataDirectoryExists() {
    std::error_code ec;
    fs::path dir = dataDirectory();
    if (!fs::exists(fs::symlink_status(dir, ec))) fs::create_directory(dir, ec);
}

fs::path ensureFolder(const fs::path& folder) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(folder, ec))) fs::create_directories(folder, ec);
    return folder;
}

fs::path getLine_K_Path() {
    return ensureFolder(dataPath("k"));
}
fs::path getInspectStockPath() {
    return ensureFolder(dataPath("InspectStock"));
}
fs::path getHoldStockPath() {
    return ensureFolder(dataPath("HoldStock"));
}

fs::path getGainsPath() {
    ensureFolder(dataPath("History"));
    return ensureFolder(dataPath("Gains"));
}

fs::path getStockDataBackupPath(std::string_view name) {
    return ensureFolder(dataPath("backup") / name);
}
fs::path getStockCodePath(std::string_view name) {
    return ensureFolder(dataPath("Data") / name);
}

fs::path getDowloadPath(std::string_view name) {
    return ensureFolder(dataPath("Data") / name / formatDate(toLocal(now())));
}

fs::path getTrendupModePath() {
    return ensureFolder(dataPath("trendupmode"));
}

}  // namespace orvane
