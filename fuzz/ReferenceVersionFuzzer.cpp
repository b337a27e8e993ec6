// The reference version on arbitrary bytes, as the data server's answer
// ("constdata=<version>") and as the recorded "Config.plist". A published
// version, once recorded, must read back unchanged: the next check compares
// the two, and a version that changes on the way makes every check download
// the archive again (or none ever again).

#include <spdlog/spdlog.h>
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "FuzzFolder.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/market/ReferenceUpdate.h"

namespace {

// The data directory, set for the whole run.
const orvane::fuzz::FuzzFolder& dataDirectory() {
    static const orvane::fuzz::FuzzFolder folder;
    static const bool set = ::setenv("ORVANE_DATA_DIR", folder.path().c_str(), 1) == 0;
    (void)set;
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (spdlog::set_level(spdlog::level::off), true);
    (void)quiet;
    const auto& dir = dataDirectory();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    orvane::writeFileAtomically(orvane::dataPath("Config.plist"), bytes);
    orvane::ReferenceUpdate::getLastupdateConstData();

    if (const auto published = orvane::publishedReferenceVersion(bytes);
        published && !orvane::ReferenceUpdate::recordVersion(*published) &&
        orvane::ReferenceUpdate::getLastupdateConstData() != published)
        __builtin_trap();
    dir.empty();
    return 0;
}
