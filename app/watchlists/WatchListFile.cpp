#include "watchlists/WatchListFile.h"

#include "orvane/core/DataDirectory.h"
#include "orvane/core/PropertyList.h"
#include "platform/StoredPropertyList.h"

namespace orvane::app {

namespace fs = std::filesystem;

namespace {

constexpr const char* kGroupsKey = "groups";
constexpr const char* kNameKey = "name";
constexpr const char* kCodesKey = "codes";

/// The lists a stored value holds, or nothing when it holds anything the
/// program would not have written.
std::optional<WatchLists> listsOf(const Value& stored) {
    const Dictionary& top = stored.dictionary();
    const auto groups = top.find(kGroupsKey);
    if (groups == top.end() || !groups->second.isArray()) return std::nullopt;
    WatchLists lists;
    for (const Value& entry : groups->second.array()) {
        if (!entry.isDictionary()) return std::nullopt;
        const Dictionary& group = entry.dictionary();
        const auto name = group.find(kNameKey);
        const auto codes = group.find(kCodesKey);
        if (name == group.end() || !name->second.isString() || codes == group.end() ||
            !codes->second.isArray())
            return std::nullopt;
        if (lists.create(name->second.string()) ||
            trimmedGroupName(name->second.string()) != name->second.string())
            return std::nullopt;
        for (const Value& code : codes->second.array())
            if (!code.isString() || lists.add(code.string(), name->second.string()))
                return std::nullopt;
    }
    return lists;
}

Value storedValueOf(const WatchLists& lists) {
    Array groups;
    for (const WatchGroup& g : lists.groups()) {
        Array codes(g.codes.begin(), g.codes.end());
        groups.emplace_back(Dictionary{{kNameKey, g.name}, {kCodesKey, std::move(codes)}});
    }
    return Dictionary{{kGroupsKey, std::move(groups)}};
}

}  // namespace

fs::path watchListFile() {
    return dataPath(kWatchListFileName);
}

WatchListRead readWatchLists(const fs::path& file) {
    StoredPropertyList stored = readStoredPropertyList(file, StoredKind::Dictionary);
    if (stored.wasRead()) {
        if (std::optional<WatchLists> lists = listsOf(stored.value)) return {std::move(*lists), {}};
        setStoredFileAside(stored);  // a property list, but not one of ours
    }
    return {WatchLists::withDefaultGroup(), stored.reportText()};
}

std::optional<std::string> saveWatchLists(const WatchLists& lists, const fs::path& file) {
    return replacePropertyList(file, storedValueOf(lists));
}

std::optional<std::string> editWatchLists(
    const fs::path& file, const std::function<std::optional<std::string>(WatchLists&)>& change) {
    WatchLists lists = readWatchLists(file).lists;
    if (auto refusal = change(lists)) return refusal;
    return saveWatchLists(lists, file);
}

std::vector<std::string> watchGroups() {
    return readWatchLists(watchListFile()).lists.groupNames();
}

std::optional<std::string> addToWatchGroup(const std::string& code, const std::string& group) {
    return editWatchLists(watchListFile(),
                          [&](WatchLists& lists) { return lists.add(code, group); });
}

std::optional<std::string> removeFromWatchGroup(const std::string& code, const std::string& group) {
    return editWatchLists(watchListFile(),
                          [&](WatchLists& lists) { return lists.removeCode(code, group); });
}

}  // namespace orvane::app
