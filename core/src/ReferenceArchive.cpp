#include "orvane/core/ReferenceArchive.h"

#include <fcntl.h>
#include <minizip/unzip.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "orvane/core/Log.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFolders[] = {"constdata/plate", "constdata/composit", "constdata/stockcode"};

struct ZipCloser {
    void operator()(void* z) const { unzClose(z); }
};

void removeQuietly(const fs::path& p) {
    std::error_code ec;
    fs::remove_all(p, ec);
}

/// A fresh uniquely named folder inside `parent`.
fs::path makeUniqueFolder(const fs::path& parent, const std::string& prefix) {
    std::string tmpl = (parent / (prefix + "XXXXXX")).string();
    return ::mkdtemp(tmpl.data()) ? fs::path(tmpl) : fs::path();
}

void setModificationTime(const fs::path& file, const tm_unz& t) {
    std::tm tm{};
    tm.tm_sec = static_cast<int>(t.tm_sec);
    tm.tm_min = static_cast<int>(t.tm_min);
    tm.tm_hour = static_cast<int>(t.tm_hour);
    tm.tm_mday = static_cast<int>(t.tm_mday);
    tm.tm_mon = static_cast<int>(t.tm_mon);
    tm.tm_year = static_cast<int>(t.tm_year) - 1900;
    tm.tm_isdst = -1;
    const std::time_t when = std::mktime(&tm);
    struct timespec times[2] = {{when, 0}, {when, 0}};
    if (when == static_cast<std::time_t>(-1) || ::utimensat(AT_FDCWD, file.c_str(), times, 0) != 0)
        ORVANE_LOG("Failed to set attributes");
}

/// Writes the current entry to `target`; false on a read, write or check
/// failure (a truncated or corrupt archive).
bool extractCurrent(unzFile zip, const fs::path& target, std::uint64_t& budget) {
    if (unzOpenCurrentFile(zip) != UNZ_OK) return false;
    int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    bool ok = fd >= 0;
    char buffer[4096];
    while (ok) {
        const int n = unzReadCurrentFile(zip, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0 || static_cast<std::uint64_t>(n) > budget) {
            ok = false;
            break;
        }
        budget -= static_cast<std::uint64_t>(n);
        ok = ::write(fd, buffer, static_cast<std::size_t>(n)) == n;
    }
    if (fd >= 0) ok = (::close(fd) == 0) && ok;
    // Closing checks the entry's CRC once it was read to its end.
    ok = (unzCloseCurrentFile(zip) == UNZ_OK) && ok;
    return ok;
}

/// Unpacks every entry below `staging`; the reason of the refusal, or empty.
std::string unpack(const fs::path& archive, const fs::path& staging, const ArchiveLimits& limits,
                   std::size_t& entries) {
    std::unique_ptr<void, ZipCloser> zip(unzOpen64(archive.c_str()));
    if (!zip) return "the download is not a zip archive";
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(zip.get(), &global) != UNZ_OK) return "the zip archive cannot be read";
    entries = static_cast<std::size_t>(global.number_entry);
    ORVANE_LOG("%lu entries in the zip file", static_cast<unsigned long>(entries));
    if (entries > limits.maxEntries) return "the zip archive has too many entries";

    std::uint64_t budget = limits.maxTotalBytes;
    int status = unzGoToFirstFile(zip.get());
    if (status != UNZ_OK) return "the zip archive has no entries";
    for (; status == UNZ_OK; status = unzGoToNextFile(zip.get())) {
        unz_file_info64 info{};
        std::vector<char> name(65536);
        if (unzGetCurrentFileInfo64(zip.get(), &info, name.data(), name.size(), nullptr, 0, nullptr,
                                    0) != UNZ_OK)
            return "Error occurs while getting file info";
        const std::string raw(name.data(), std::min<std::size_t>(info.size_filename, name.size()));
        const fs::path relative = safeEntryPath(raw);
        if (relative.empty()) return "the zip archive has an entry outside its folder: " + raw;
        const fs::path target = staging / relative;
        const bool isFolder = raw.ends_with('/') || raw.ends_with('\\');
        std::error_code ec;
        fs::create_directories(isFolder ? target : target.parent_path(), ec);
        if (ec) return "cannot create " + target.string();
        if (isFolder) continue;
        if (!extractCurrent(zip.get(), target, budget)) return "Failed to reading zip file: " + raw;
        setModificationTime(target, info.tmu_date);
    }
    if (status != UNZ_END_OF_LIST_OF_FILE) return "the zip archive is damaged";
    return {};
}

}  // namespace

fs::path safeEntryPath(std::string_view entryName) {
    std::string name(entryName);
    for (char& c : name)
        if (c == '\\') c = '/';
    // A NUL would cut the name short where the system reads it.
    if (name.empty() || name[0] == '/' || name.find('\0') != std::string::npos) return {};
    if (name.size() >= 2 && name[1] == ':') return {};  // a drive letter
    fs::path out;
    for (const auto& part : fs::path(name)) {
        if (part == "..") return {};
        if (part.empty() || part == ".") continue;
        out /= part;
    }
    return out;
}

ArchiveInstallResult installReferenceArchive(const fs::path& archive, const fs::path& dataDir,
                                             const ArchiveLimits& limits) {
    ArchiveInstallResult result;
    const fs::path staging = makeUniqueFolder(dataDir, ".constdata-staging-");
    if (staging.empty()) {
        result.reason = "cannot create a staging folder in " + dataDir.string();
        return result;
    }
    result.reason = unpack(archive, staging, limits, result.entries);
    if (result.reason.empty()) {
        std::error_code ec;
        for (const char* folder : kFolders)
            if (!fs::is_directory(staging / folder, ec)) {
                result.reason = std::string("the archive lacks the folder ") + folder;
                break;
            }
    }
    if (result.reason.empty()) {
        const fs::path staged = staging / "constdata";
        const fs::path live = dataDir / "constdata";
        std::error_code ec;
        // Exchange in one step when an old folder exists, so readers never
        // find it missing; the old folder then sits in the staging folder.
        int rc =
            fs::exists(fs::symlink_status(live, ec))
                ? ::renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, live.c_str(), RENAME_EXCHANGE)
                : ::rename(staged.c_str(), live.c_str());
        if (rc != 0)
            result.reason = "cannot move the new reference data into place";
        else
            result.installed = true;
    }
    removeQuietly(staging);
    return result;
}

}  // namespace orvane
