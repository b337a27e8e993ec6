// The reference-archive installer on arbitrary bytes: whatever the archive
// holds, nothing may appear outside the data directory, and the data
// directory holds nothing but "constdata" and the archive afterwards.

#include <spdlog/spdlog.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "FuzzFolder.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/ReferenceArchive.h"

namespace fs = std::filesystem;

namespace {

struct Sandbox {
    orvane::fuzz::FuzzFolder folder;
    fs::path root = folder.path(), dataDir = root / "data", archive = dataDir / "constdata.zip";
    Sandbox() { fs::create_directories(dataDir); }
};

std::size_t entriesIn(const fs::path& folder) {
    std::error_code ec;
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder, ec), fs::directory_iterator()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (spdlog::set_level(spdlog::level::off), true);
    (void)quiet;
    static Sandbox box;
    orvane::writeFileAtomically(box.archive,
                                std::string_view(reinterpret_cast<const char*>(data), size));
    orvane::ArchiveLimits limits;
    limits.maxTotalBytes = 1 << 20;
    limits.maxEntries = 1000;
    orvane::installReferenceArchive(box.archive, box.dataDir, limits);
    // Only the data directory may exist below the sandbox root, and in it
    // only the archive and the installed folder.
    if (entriesIn(box.root) != 1) __builtin_trap();
    for (const auto& e : fs::directory_iterator(box.dataDir)) {
        const auto name = e.path().filename();
        if (name != "constdata" && name != "constdata.zip") __builtin_trap();
    }
    std::error_code ec;
    fs::remove_all(box.dataDir / "constdata", ec);
    return 0;
}
