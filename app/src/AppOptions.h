#pragma once
// The command line of orvane-app.
//   orvane-app [--server URL] [--quote-server URL] [--show CODE] [--screenshot PNG]
// runs the application; --show fetches a stock's verdict at start, and
// --screenshot saves a picture of the main window once it is shown and
// quits (for a machine without a display).
//   orvane-app --chart FILE... [--crosshair-date DATE] [--screenshot PNG]
// opens only the chart window, one tab per history file.

#include <optional>
#include <string>
#include <vector>

namespace orvane::app {

struct AppOptions {
    std::vector<std::string> chartFiles;  // not empty: the chart window only
    std::string crosshairDate;            // "yyyy-MM-dd"; empty: no crosshair
    std::string screenshotPath;           // empty: run interactively
    std::string server;                   // the data server's base URL; empty: settings
    std::string quoteServer;              // the quote service; empty: settings
    std::string showCode;                 // a stock to show at start
    bool chartOnly() const { return !chartFiles.empty(); }
};

/// The options, or nothing with `error` set when the arguments are wrong.
std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& args, std::string& error);

inline constexpr const char* kAppUsage =
    "usage: orvane-app [--server URL] [--quote-server URL] [--show CODE] [--screenshot OUT.png]\n"
    "       orvane-app --chart FILE... [--crosshair-date YYYY-MM-DD] [--screenshot OUT.png]\n";

}  // namespace orvane::app
