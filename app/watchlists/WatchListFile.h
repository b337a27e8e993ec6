#pragma once
// The watch lists' file, "WatchLists.plist" in the data folder: a
// dictionary whose "groups" array holds one dictionary a group ("name",
// "codes"), in the user's order. Every save replaces the file atomically. A
// file that is there but holds no such lists (not a property list, a group
// without a name, a name empty or repeated, a code that is none) is set
// aside with a note and the lists start anew, as the application does for
// its other property lists; a missing file gives the default group.
//
// The edits other windows make (a row's menu adding its stock to a group)
// go through the three functions at the end: each reads the file, changes
// it and saves it at once, so that every window sees the same lists.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "watchlists/WatchLists.h"

namespace orvane::app {

inline constexpr const char* kWatchListFileName = "WatchLists.plist";

/// "DATA/WatchLists.plist".
std::filesystem::path watchListFile();

struct WatchListRead {
    WatchLists lists;
    /// The note for the status line when the file was set aside or could
    /// not be read; empty otherwise.
    std::string note;
};

WatchListRead readWatchLists(const std::filesystem::path& file);
/// Nothing once written, else why not (the file named with the cause).
std::optional<std::string> saveWatchLists(const WatchLists& lists,
                                          const std::filesystem::path& file);

/// Reads the file, applies `change` and saves when it was accepted: the
/// change's refusal, or the save's failure, or nothing.
std::optional<std::string> editWatchLists(
    const std::filesystem::path& file,
    const std::function<std::optional<std::string>(WatchLists&)>& change);

// For the stock menus of every list ("加入自选 › group"), on the data
// folder's file.

/// The groups' names in the user's order.
std::vector<std::string> watchGroups();
/// Adds CODE to GROUP: why not, or nothing once saved.
std::optional<std::string> addToWatchGroup(const std::string& code, const std::string& group);
/// Removes CODE from GROUP: why not, or nothing once saved.
std::optional<std::string> removeFromWatchGroup(const std::string& code, const std::string& group);

}  // namespace orvane::app
