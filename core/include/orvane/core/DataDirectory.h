#pragma once
// The per-user data directory and the folder operations of its fixed layout.
// $ORVANE_DATA_DIR when set, else $XDG_DATA_HOME/Orvane, else
// ~/.local/share/Orvane.

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

std::filesystem::path dataDirectory();
/// A file or folder directly below the data directory ("Config.plist",
/// "constdata/stockcode/code.txt", ...).
std::filesystem::path dataPath(std::string_view relative);

/// Creates the data directory itself when missing, without creating missing
/// parent folders (at engine creation and at the reference-data check).
void ensureDataDirectoryExists();

/// Creates `folder` with its missing parents when nothing of that name exists
/// yet; a failure is ignored, and a plain file standing there is left alone.
/// Returns the path unchanged.
std::filesystem::path ensureFolder(const std::filesystem::path& folder);

// Folder operations: each ensures its folder and returns its full path.
std::filesystem::path getLine_K_Path();
std::filesystem::path getInspectStockPath();
std::filesystem::path getHoldStockPath();
/// Ensures "History" first, then "Gains".
std::filesystem::path getGainsPath();
std::filesystem::path getStockDataBackupPath(std::string_view name);
std::filesystem::path getStockCodePath(std::string_view name);
/// Data/name/today, today the current local date "yyyy-MM-dd".
std::filesystem::path getDowloadPath(std::string_view name);
std::filesystem::path getTrendupModePath();

}  // namespace orvane
