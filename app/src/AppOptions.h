#pragma once
// The command line of orvane-app.
//   orvane-app [--server URL] [--quote-server URL] [--show CODE] [--screenshot PNG]
// runs the application; --show fetches a stock's verdict at start, and
// --screenshot saves a picture of the main window once it is shown and
// quits (for a machine without a display); --tab N opens a tab of the main
// window once the stock is shown (the history tab computes its days) and
// --gallery the model gallery. --print-server prints the data
// server's address the application would use, and quits. The server options
// are taken out first (ServerPreferences.h).
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
    std::string showCode;                 // a stock to show at start
    int tab = -1;                         // a tab to open once the stock is shown
    bool gallery = false;                 // open the trend-up model gallery at start
    bool printServer = false;
    bool chartOnly() const { return !chartFiles.empty(); }
};

/// The options, or nothing with `error` set when the arguments are wrong.
std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& args, std::string& error);

inline constexpr const char* kAppUsage =
    "usage: orvane-app [--server URL] [--quote-server URL] [--show CODE] [--tab 0-5] [--gallery]\n"
    "                  [--screenshot OUT.png]\n"
    "       orvane-app [--server URL] --print-server\n"
    "       orvane-app --chart FILE... [--crosshair-date YYYY-MM-DD] [--screenshot OUT.png]\n";

}  // namespace orvane::app
