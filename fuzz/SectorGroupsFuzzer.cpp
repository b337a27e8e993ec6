// The sector groups on arbitrary files. The input is cut at NUL bytes into
// name, contents, name, contents, ...: each pair becomes a file below the
// sector folder (names that would leave it are skipped) and every name a
// file of the composite folder. Every group a code belongs to must list it,
// the counts must agree with the members, and the largest group must be one
// of the groups.

#include <spdlog/spdlog.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFolder.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/SectorGroups.h"

namespace fs = std::filesystem;

namespace {

// A relative path that stays below its folder, or nothing.
bool staysBelow(const fs::path& relative) {
    if (relative.empty() || relative.is_absolute()) return false;
    for (const auto& part : relative)
        if (part == ".." || part == ".") return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (spdlog::set_level(spdlog::level::off), true);
    (void)quiet;
    static const orvane::fuzz::FuzzFolder folder;
    folder.empty();
    const fs::path plate = folder.path() / "plate", composit = folder.path() / "composit";
    fs::create_directories(plate);
    fs::create_directories(composit);

    const std::vector<std::string_view> pieces =
        orvane::splitOn(std::string_view(reinterpret_cast<const char*>(data), size), '\0');
    for (std::size_t i = 0; i + 1 < pieces.size() && i < 16; i += 2) {
        const fs::path relative = fs::path(std::string(pieces[i])).lexically_normal();
        if (!staysBelow(relative) || relative.native().size() > 200) continue;
        std::error_code ec;
        fs::create_directories((plate / relative).parent_path(), ec);
        orvane::writeFileAtomically(plate / relative, pieces[i + 1]);
        orvane::writeFileAtomically(composit / relative.filename(), "");
    }

    const orvane::SectorGroups groups(plate, composit);
    const std::vector<std::string> names = groups.getPlateGroupNameArray();
    for (const std::string& name : names) {
        const std::vector<std::string> members = groups.groupMemberCodes(name);
        if (groups.getPlantGroupNum(name) != static_cast<int>(members.size())) __builtin_trap();
        for (const std::string& code : members) {
            const auto of = groups.groupsOf(code);
            if (std::find(of.begin(), of.end(), name) == of.end()) __builtin_trap();
            groups.getStockPlateProtity(code);
            groups.getMyPlateProprityFormCode(code);
        }
    }
    const std::string largest = groups.largestGroup();
    if (names.empty() ? !largest.empty()
                      : std::find(names.begin(), names.end(), largest) == names.end())
        __builtin_trap();
    for (const std::string& code : groups.compositeCodes())
        if (orvane::utf16Length(code) != 6) __builtin_trap();
    return 0;
}
