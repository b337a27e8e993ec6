#include "watchlists/WatchLists.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "orvane/market/StockCode.h"

namespace orvane::app {

namespace {

constexpr std::string_view kIdeographicSpace = "\u3000";

bool startsWithSpace(std::string_view s) {
    return s.starts_with(' ') || s.starts_with('\t') || s.starts_with(kIdeographicSpace);
}

bool endsWithSpace(std::string_view s) {
    return s.ends_with(' ') || s.ends_with('\t') || s.ends_with(kIdeographicSpace);
}

std::string noSuchGroup(std::string_view name) {
    return "没有名为“" + std::string(name) + "”的分组";
}

}  // namespace

std::string trimmedGroupName(std::string_view name) {
    while (startsWithSpace(name))
        name.remove_prefix(name.starts_with(kIdeographicSpace) ? kIdeographicSpace.size() : 1);
    while (endsWithSpace(name))
        name.remove_suffix(name.ends_with(kIdeographicSpace) ? kIdeographicSpace.size() : 1);
    return std::string(name);
}

WatchLists WatchLists::withDefaultGroup() {
    WatchLists lists;
    lists.groups_.push_back({kDefaultWatchGroup, {}});
    return lists;
}

std::vector<std::string> WatchLists::groupNames() const {
    std::vector<std::string> names;
    for (const WatchGroup& g : groups_) names.push_back(g.name);
    return names;
}

const WatchGroup* WatchLists::group(std::string_view name) const {
    for (const WatchGroup& g : groups_)
        if (g.name == name) return &g;
    return nullptr;
}

WatchGroup* WatchLists::find(std::string_view name) {
    return const_cast<WatchGroup*>(std::as_const(*this).group(name));
}

std::vector<std::string> WatchLists::allCodes() const {
    std::vector<std::string> codes;
    std::unordered_set<std::string> seen;
    for (const WatchGroup& g : groups_)
        for (const std::string& code : g.codes)
            if (seen.insert(code).second) codes.push_back(code);
    return codes;
}

std::optional<std::string> WatchLists::refusalOfName(std::string_view name,
                                                     std::string_view renaming) const {
    const std::string trimmed = trimmedGroupName(name);
    if (trimmed.empty()) return "分组名称不能为空";
    if (trimmed != renaming && group(trimmed)) return "已有名为“" + trimmed + "”的分组";
    return std::nullopt;
}

std::optional<std::string> WatchLists::create(std::string_view name) {
    if (auto refusal = refusalOfName(name)) return refusal;
    groups_.push_back({trimmedGroupName(name), {}});
    return std::nullopt;
}

std::optional<std::string> WatchLists::rename(std::string_view from, std::string_view to) {
    WatchGroup* g = find(from);
    if (!g) return noSuchGroup(from);
    if (auto refusal = refusalOfName(to, from)) return refusal;
    g->name = trimmedGroupName(to);
    return std::nullopt;
}

std::optional<std::string> WatchLists::move(std::string_view name, int offset) {
    WatchGroup* g = find(name);
    if (!g) return noSuchGroup(name);
    const long from = g - groups_.data();
    const long to = std::clamp<long>(from + offset, 0, static_cast<long>(groups_.size()) - 1);
    if (to < from)
        std::rotate(groups_.begin() + to, groups_.begin() + from, groups_.begin() + from + 1);
    else
        std::rotate(groups_.begin() + from, groups_.begin() + from + 1, groups_.begin() + to + 1);
    return std::nullopt;
}

std::optional<std::string> WatchLists::remove(std::string_view name) {
    WatchGroup* g = find(name);
    if (!g) return noSuchGroup(name);
    groups_.erase(groups_.begin() + (g - groups_.data()));
    return std::nullopt;
}

std::optional<std::string> WatchLists::add(std::string_view code, std::string_view group) {
    if (!isValidStockCode(code)) return std::string(code) + " 不是股票代码";
    WatchGroup* g = find(group);
    if (!g) return noSuchGroup(group);
    if (std::find(g->codes.begin(), g->codes.end(), code) == g->codes.end())
        g->codes.emplace_back(code);
    return std::nullopt;
}

std::optional<std::string> WatchLists::removeCode(std::string_view code, std::string_view group) {
    WatchGroup* g = find(group);
    if (!g) return noSuchGroup(group);
    std::erase(g->codes, std::string(code));
    return std::nullopt;
}

}  // namespace orvane::app
