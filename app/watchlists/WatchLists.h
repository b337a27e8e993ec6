#pragma once
// The user's watch lists (自选股): named groups of stock codes, in the order
// the user keeps them. Names are trimmed and may be neither empty nor the
// name of another group; a group lists a code once. Plain data and rules,
// so that every refusal is tested without a window; the file is
// WatchListFile's.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::app {

struct WatchGroup {
    std::string name;
    std::vector<std::string> codes;
    friend bool operator==(const WatchGroup&, const WatchGroup&) = default;
};

/// The group a new watch-list file starts with.
inline constexpr const char* kDefaultWatchGroup = "自选股";

/// The name without the spaces around it (ASCII and the full-width U+3000).
std::string trimmedGroupName(std::string_view name);

class WatchLists {
  public:
    /// One empty group named kDefaultWatchGroup.
    static WatchLists withDefaultGroup();

    const std::vector<WatchGroup>& groups() const { return groups_; }
    std::vector<std::string> groupNames() const;
    const WatchGroup* group(std::string_view name) const;
    /// Every watched code once, in the order of the groups.
    std::vector<std::string> allCodes() const;

    /// Why `name` cannot name a group ("分组名称不能为空", "已有名为“X”的
    /// 分组"), or nothing. `renaming` is the group being renamed: its own
    /// name is no repeat.
    std::optional<std::string> refusalOfName(std::string_view name,
                                             std::string_view renaming = {}) const;

    // Each change returns why it was refused, or nothing once done.
    std::optional<std::string> create(std::string_view name);
    std::optional<std::string> rename(std::string_view from, std::string_view to);
    /// Moves the group `offset` places (negative: towards the front), kept
    /// inside the list.
    std::optional<std::string> move(std::string_view name, int offset);
    std::optional<std::string> remove(std::string_view name);
    /// Adds the code at the group's end; a code already there stays where it is.
    std::optional<std::string> add(std::string_view code, std::string_view group);
    std::optional<std::string> removeCode(std::string_view code, std::string_view group);

    friend bool operator==(const WatchLists&, const WatchLists&) = default;

  private:
    WatchGroup* find(std::string_view name);
    std::vector<WatchGroup> groups_;
};

}  // namespace orvane::app
