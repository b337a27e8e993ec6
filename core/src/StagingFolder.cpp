#include "orvane/core/StagingFolder.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "orvane/core/FileWrites.h"
#include "orvane/core/FolderRemoval.h"

namespace orvane {

namespace fs = std::filesystem;

bool isProcessRunning(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

fs::path folderPathOf(const fs::path& path) {
    std::error_code ec;
    fs::path out = fs::absolute(path, ec);
    out = (ec ? path : out).lexically_normal();
    if (!out.has_filename() && out.has_relative_path()) out = out.parent_path();
    return out;
}

std::optional<std::string> stagingProblemFor(const fs::path& given) {
    const fs::path target = folderPathOf(given);
    std::error_code ec;
    if (fs::exists(target, ec) && !fs::is_directory(target, ec))
        return target.string() + " is a file, not a folder";
    const fs::path staging = stagingFolderFor(target, ::getpid());
    fs::remove_all(staging, ec);
    if (!makeFolders(staging)) return lastWriteFailureText("cannot create " + staging.string());
    fs::remove_all(staging, ec);
    return std::nullopt;
}

fs::path stagingFolderFor(const fs::path& given, long pid) {
    const fs::path target = folderPathOf(given);
    return target.parent_path() /
           ("." + target.filename().string() + ".staging-" + std::to_string(pid));
}

std::vector<fs::path> removeStaleStagingFolders(const fs::path& given) {
    const fs::path target = folderPathOf(given);
    const std::string prefix = "." + target.filename().string() + ".staging-";
    std::vector<fs::path> removed;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(target.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !entry.is_directory(ec)) continue;
        const std::string pid = name.substr(prefix.size());
        if (pid.empty() || pid.size() > 9 ||
            pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (isProcessRunning(std::stol(pid))) continue;
        if (removeFolderTree(entry.path())) removed.push_back(entry.path());
    }
    return removed;
}

bool swapFolderIn(const fs::path& staging, const fs::path& given) {
    const fs::path target = folderPathOf(given);
    std::error_code ec;
    if (fs::exists(target, ec)) {
        if (exchangeFiles(staging, target)) {
            removeFolderTree(staging);  // now the old folder
            return true;
        }
        // Only a file system without the exchange takes the two renames.
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
        const fs::path old = target.string() + ".old-" + std::to_string(::getpid());
        if (!renameFile(target, old)) return false;
        if (!renameFile(staging, target)) {
            const auto failure = lastWriteFailure();
            fs::rename(old, target, ec);  // undoing is no new write
            if (failure) blameWriteFailureOn(failure->file);
            return false;
        }
        removeFolderTree(old);
        return true;
    }
    return makeFolders(target.parent_path()) && renameFile(staging, target);
}

}  // namespace orvane
