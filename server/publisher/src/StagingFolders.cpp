#include "orvane/publisher/StagingFolders.h"

#include <signal.h>

#include <cerrno>
#include <string>

namespace orvane::server {

namespace fs = std::filesystem;

namespace {

bool processRuns(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

fs::path stagingFolderFor(const fs::path& tree, long pid) {
    return tree.parent_path() /
           ("." + tree.filename().string() + ".staging-" + std::to_string(pid));
}

std::vector<fs::path> removeStaleStagingFolders(const fs::path& tree) {
    const std::string prefix = "." + tree.filename().string() + ".staging-";
    std::vector<fs::path> removed;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(tree.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !entry.is_directory(ec)) continue;
        const std::string pid = name.substr(prefix.size());
        if (pid.empty() || pid.size() > 9 ||
            pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (processRuns(std::stol(pid))) continue;
        if (fs::remove_all(entry.path(), ec) != static_cast<std::uintmax_t>(-1) && !ec)
            removed.push_back(entry.path());
    }
    return removed;
}

}  // namespace orvane::server
