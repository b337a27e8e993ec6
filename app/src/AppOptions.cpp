#include "AppOptions.h"

namespace orvane::app {

std::optional<AppOptions> parseAppOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    AppOptions options;
    bool sawChart = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--chart") {
            sawChart = true;
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                options.chartFiles.push_back(args[++i]);
        } else if (arg == "--crosshair-date" || arg == "--screenshot") {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            (arg == "--screenshot" ? options.screenshotPath : options.crosshairDate) = args[++i];
        } else {
            error = "unknown argument: " + arg;
            return std::nullopt;
        }
    }
    if (!sawChart || options.chartFiles.empty()) {
        error = "--chart needs at least one history file";
        return std::nullopt;
    }
    return options;
}

}  // namespace orvane::app
