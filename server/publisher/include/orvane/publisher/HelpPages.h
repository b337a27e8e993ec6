#pragma once
// The help pages the data server publishes for the application's help
// windows: "/const/help/doublepao.html", the double-cannon pattern of the
// score lists explained.

#include <string>

namespace orvane::server {

/// The page (UTF-8 HTML).
std::string doubleCannonHelpPage();

}  // namespace orvane::server
