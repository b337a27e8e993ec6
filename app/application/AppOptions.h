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
    bool help = false;  // --help or -h: the usage, and quit
    bool chartOnly() const { return !chartFiles.empty(); }
};

/// The options, or nothing with `error` set when the arguments are wrong.
std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& args, std::string& error);

inline constexpr const char* kAppUsage =
    "usage: orvane-app [--server URL] [--quote-server URL] [--show CODE] [--tab 0-6] [--gallery]\n"
    "                  [--screenshot OUT.png]\n"
    "       orvane-app [--server URL] --print-server\n"
    "       orvane-app --chart FILE... [--crosshair-date YYYY-MM-DD] [--screenshot OUT.png]\n"
    "       orvane-app --help\n";

/// What --help adds to the usage.
inline constexpr const char* kAppHelp =
    "\n"
    "  --server URL          the data server's base URL (else the one set in 文件 > 数据服务器…)\n"
    "  --quote-server URL    the quote service's address\n"
    "  --show CODE           show a stock's verdict at start\n"
    "  --tab N               open tab N (0 持仓 ... 5 评分榜, 6 自选股) once the stock is shown\n"
    "  --gallery             open the trend-up model gallery\n"
    "  --screenshot OUT.png  save a picture of the window and quit (no display needed)\n"
    "  --print-server        print the data server's address in use and quit\n"
    "  --chart FILE...       only the K-line chart window, one tab per history text\n"
    "\n"
    "Exit status: 0 done; 1 failed (the data server cannot be reached at start, a chart\n"
    "file cannot be read, a picture cannot be written); 2 bad usage.\n";

}  // namespace orvane::app
