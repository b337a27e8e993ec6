#include "orvane/publisher/DemoTreeFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace orvane::server {

namespace {

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}

}  // namespace

std::filesystem::path demoTreeFolder() {
    // The XDG rules ignore a relative cache folder.
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    std::filesystem::path cache =
        (xdg && *xdg == '/') ? std::filesystem::path(xdg) : homeFolder() / ".cache";
    return cache / "Orvane" / "demo-tree";
}

}  // namespace orvane::server
