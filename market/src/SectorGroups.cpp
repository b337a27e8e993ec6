#include "orvane/market/SectorGroups.h"

#include <algorithm>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/ChineseCollation.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/StockCode.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

struct GroupFile {
    std::string name;
    fs::path path;
};

/// The group files below the folder, in the collation order of their names.
/// Entries whose relative path begins with "." are not groups; folders are
/// walked but are no groups themselves.
std::vector<GroupFile> listGroupFiles(const fs::path& folder) {
    std::vector<GroupFile> files;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path relative = it->path().lexically_relative(folder);
        const std::string rel = relative.string();
        if (rel.empty() || rel[0] == '.') continue;
        std::error_code typeEc;
        if (it->is_directory(typeEc)) continue;
        files.push_back({(relative.parent_path() / relative.stem()).string(), it->path()});
    }
    ChineseCollator collator;
    std::stable_sort(files.begin(), files.end(), [&](const GroupFile& a, const GroupFile& b) {
        return collator.less(a.name, b.name);
    });
    return files;
}

std::string joinNames(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names) {
        if (!out.empty()) out += ',';
        out += n;
    }
    return out;
}

/// The first `count` characters of a UTF-8 text, counted in UTF-16 code
/// units as the program counts characters (utf16Length), or nothing when the
/// text is shorter or a character would be cut in half at that place.
std::optional<std::string> firstCharacters(std::string_view text, std::size_t count) {
    std::size_t units = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool boundary =
            i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (boundary && units == count) return std::string(text.substr(0, i));
        if (boundary && units > count) return std::nullopt;
        if (i < text.size()) units += utf16Length(text.substr(i, 1));
    }
    return std::nullopt;
}

}  // namespace

SectorGroups& SectorGroups::shared() {
    static SectorGroups groups;
    return groups;
}

SectorGroups::SectorGroups(fs::path plateFolder, fs::path compositFolder)
    : plateFolder_(std::move(plateFolder)), compositFolder_(std::move(compositFolder)) {}

fs::path SectorGroups::plateFolder() const {
    return plateFolder_.empty() ? dataPath("constdata/plate") : plateFolder_;
}

fs::path SectorGroups::compositFolder() const {
    return compositFolder_.empty() ? dataPath("constdata/composit") : compositFolder_;
}

std::shared_ptr<const SectorGroups::Groups> SectorGroups::groups() const {
    const fs::path folder = plateFolder();
    std::lock_guard lock(mutex_);
    // The data directory's place can change (tests, a new configuration).
    if (cache_ && cachedFolder_ == folder) return cache_;
    auto groups = std::make_shared<Groups>();
    for (const auto& file : listGroupFiles(folder)) {
        Group g{file.name, {}};
        if (auto bytes = readFile(file.path))
            for (std::string_view line : splitLines(*bytes)) g.lines.emplace(line);
        groups->push_back(std::move(g));
    }
    cache_ = std::move(groups);
    cachedFolder_ = folder;
    return cache_;
}

void SectorGroups::invalidate() {
    std::lock_guard lock(mutex_);
    cache_.reset();
}

std::vector<std::string> SectorGroups::getPlateGroupNameArray() const {
    std::vector<std::string> names;
    for (const auto& g : *groups()) names.push_back(g.name);
    return names;  // already in collation order
}

std::vector<std::string> SectorGroups::groupsOf(std::string_view code) const {
    std::vector<std::string> names;
    if (utf16Length(code) != 6) return names;
    const std::string key(code);
    for (const auto& g : *groups())
        if (g.lines.contains(key)) names.push_back(g.name);
    return names;
}

std::string SectorGroups::getStockPlateProtity(std::string_view code) const {
    auto names = groupsOf(code);
    std::string text(code);
    text += " 属于板块:";
    text += names.empty() ? "没有找到分类" : joinNames(names);
    return text;
}

std::string SectorGroups::getMyPlateProprityFormCode(std::string_view code) const {
    auto names = groupsOf(code);
    return names.empty() ? "NONE" : joinNames(names);
}

std::vector<std::string> SectorGroups::groupMemberCodes(std::string_view name) const {
    std::vector<std::string> codes;
    const fs::path relative = fs::path(std::string(name) + ".txt").lexically_normal();
    if (relative.is_absolute() || relative.empty() || *relative.begin() == "..") return codes;
    auto bytes = readFile(plateFolder() / relative);
    if (!bytes) return codes;
    for (std::string_view line : splitLines(*bytes))
        if (isValidStockCode(line)) codes.emplace_back(line);
    return codes;
}

std::string SectorGroups::largestGroup() const {
    std::string largest;
    int largestSize = -1;
    for (const std::string& group : getPlateGroupNameArray())
        if (const int size = getPlantGroupNum(group); size > largestSize) {
            largest = group;
            largestSize = size;
        }
    return largest;
}

int SectorGroups::getPlantGroupNum(std::string_view name) const {
    return static_cast<int>(groupMemberCodes(name).size());
}

std::vector<std::string> SectorGroups::compositeCodes() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(compositFolder(), ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!name.empty() && name[0] != '.') names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> codes;
    for (const auto& n : names)
        if (auto code = firstCharacters(n, 6)) codes.push_back(std::move(*code));
    return codes;
}

bool isInComposit(std::string_view code, const std::vector<std::string>& list) {
    return std::find(list.begin(), list.end(), code) != list.end();
}

}  // namespace orvane
