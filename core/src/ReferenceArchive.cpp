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

#include "orvane/core/FileWrites.h"
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
    NewFile file = NewFile::create(target);
    bool ok = file.isOpen();
    char buffer[4096];
    while (ok) {
        const int n = unzReadCurrentFile(zip, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0 || static_cast<std::uint64_t>(n) > budget) {
            ok = false;
            break;
        }
        budget -= static_cast<std::uint64_t>(n);
        ok = file.write(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    // An empty entry is still a file written.
    if (ok && file.isOpen()) ok = file.write({}) && file.close();
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
        forgetWriteFailure();
        if (!makeFolders(isFolder ? target : target.parent_path()))
            return lastWriteFailureText("cannot create " + target.string());
        if (isFolder) continue;
        if (!extractCurrent(zip.get(), target, budget))
            return lastWriteFailureText("Failed to reading zip file: " + raw);
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

std::optional<std::string> readArchiveEntry(const fs::path& archive, const std::string& name,
                                            std::uint64_t maxBytes) {
    std::unique_ptr<void, ZipCloser> zip(unzOpen64(archive.c_str()));
    if (!zip || unzLocateFile(zip.get(), name.c_str(), 1) != UNZ_OK) return std::nullopt;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.uncompressed_size > maxBytes || unzOpenCurrentFile(zip.get()) != UNZ_OK)
        return std::nullopt;
    std::string out;
    char buffer[1 << 14];
    bool ok = true;
    while (true) {
        const int n = unzReadCurrentFile(zip.get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0 || out.size() + static_cast<std::size_t>(n) > maxBytes) {
            ok = false;
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    // Closing checks the entry's CRC once it was read to its end.
    ok = (unzCloseCurrentFile(zip.get()) == UNZ_OK) && ok;
    return ok ? std::optional<std::string>(std::move(out)) : std::nullopt;
}

ArchiveInstallResult installReferenceArchive(const fs::path& archive, const fs::path& dataDir,
                                             const ArchiveLimits& limits) {
    ArchiveInstallResult result;
    forgetWriteFailure();
    const fs::path staging = makeUniqueFolder(dataDir, ".constdata-staging-");
    if (staging.empty()) {
        result.reason =
            lastWriteFailureText("cannot create a staging folder in " + dataDir.string());
        result.writeFailed = true;
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
        const bool moved = fs::exists(fs::symlink_status(live, ec)) ? exchangeFiles(staged, live)
                                                                    : renameFile(staged, live);
        if (!moved)
            result.reason = lastWriteFailureText("cannot move the new reference data into place");
        else
            result.installed = true;
    }
    removeQuietly(staging);
    result.writeFailed = !result.installed && lastWriteFailure().has_value();
    return result;
}

}  // namespace orvane
