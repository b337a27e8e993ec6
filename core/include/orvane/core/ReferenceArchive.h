#pragma once
// Installing the reference archive (code table, sector groups, composites)
// without ever losing the data already there: the archive is unpacked into a
// staging folder inside the data directory, every entry that would land
// outside it refuses the whole archive, the three folders must have
// arrived, and only then the staged "constdata" takes the place of the old
// one in one rename. Anything else in the archive ("__MACOSX", stray files)
// is discarded with the staging folder.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

struct ArchiveInstallResult {
    bool installed = false;
    std::string reason;  // why the installation was refused
    std::size_t entries = 0;
    bool writeFailed = false;  // refused by this computer's disk, not by the archive
};

struct ArchiveLimits {
    std::uint64_t maxTotalBytes = 1ull << 30;  // 1 GiB unpacked
    std::size_t maxEntries = 100000;
};

/// Unpacks `archive` and, when it is sound, replaces `dataDir`/constdata.
/// The previous folder stays in place on every failure.
ArchiveInstallResult installReferenceArchive(const std::filesystem::path& archive,
                                             const std::filesystem::path& dataDir,
                                             const ArchiveLimits& limits = {});

/// The bytes of the entry `name` of `archive`, read in memory (nothing is
/// written); nothing when the archive or the entry cannot be read, or the
/// entry is larger than `maxBytes`.
std::optional<std::string> readArchiveEntry(const std::filesystem::path& archive,
                                            const std::string& name, std::uint64_t maxBytes);

/// The path an entry name unpacks to, relative to the destination ("\"
/// read as "/"); empty when the name is absolute, has a drive letter, a ".."
/// component or a NUL character, or names nothing.
std::filesystem::path safeEntryPath(std::string_view entryName);

}  // namespace orvane
