#include "application/AppOptions.h"

#include "orvane/market/StockCode.h"

namespace orvane::app {

std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    AppOptions options;
    bool sawChart = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* value = arg == "--crosshair-date" ? &options.crosshairDate
                             : arg == "--screenshot"   ? &options.screenshotPath
                             : arg == "--show"         ? &options.showCode
                                                       : nullptr;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--print-server" || arg == "--gallery") {
            (arg == "--gallery" ? options.gallery : options.printServer) = true;
        } else if (arg == "--tab") {
            const std::string n = i + 1 < args.size() ? args[++i] : "";
            if (n.size() != 1 || n[0] < '0' || n[0] > '6') {
                error = "--tab needs a tab number from 0 to 6";
                return std::nullopt;
            }
            options.tab = n[0] - '0';
        } else if (arg == "--chart") {
            sawChart = true;
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                options.chartFiles.push_back(args[++i]);
        } else if (value) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            *value = args[++i];
        } else {
            error = "unknown argument: " + arg;
            return std::nullopt;
        }
    }
    if (sawChart && options.chartFiles.empty()) {
        error = "--chart needs at least one history file";
        return std::nullopt;
    }
    if (!sawChart && !options.crosshairDate.empty()) {
        error = "--crosshair-date needs --chart";
        return std::nullopt;
    }
    if (!options.showCode.empty() && !isValidStockCode(options.showCode)) {
        error = "--show needs a six-digit stock code";
        return std::nullopt;
    }
    return options;
}

}  // namespace orvane::app
