#pragma once
// The command line of orvane-app. For now the application only opens the
// chart window: --chart FILE... opens one tab per history file;
// --crosshair-date DATE and --screenshot PNG place the crosshair on a day of
// the selected chart and save a picture of the window, then quit.

#include <optional>
#include <string>
#include <vector>

namespace orvane::app {

struct AppOptions {
    std::vector<std::string> chartFiles;
    std::string crosshairDate;   // "yyyy-MM-dd"; empty: no crosshair
    std::string screenshotPath;  // empty: run interactively
};

/// The options, or nothing with `error` set when the arguments are wrong.
std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& args, std::string& error);

inline constexpr const char* kAppUsage =
    "usage: orvane-app --chart FILE... [--crosshair-date YYYY-MM-DD] [--screenshot OUT.png]\n";

}  // namespace orvane::app
