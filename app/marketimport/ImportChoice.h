#pragma once
// The user's own market as the app remembers it: the folder (or file) it was
// read from, its optional stock list and events file, and the newest time of
// its files when it was last published. Kept in the user's settings (group
// "import"); the published tree is "ImportedMarket" below the data folder.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace orvane::app {

struct ImportChoice {
    std::filesystem::path source;
    std::filesystem::path stockList;  // empty: the codes stand in for the names
    std::filesystem::path events;     // empty: no ex-rights events
    /// The newest modification time (seconds since the epoch) of the
    /// source's files when the tree was published from them.
    std::int64_t newestSourceTime = 0;
    bool operator==(const ImportChoice&) const = default;
};

/// The remembered choice, or nothing when no market was imported.
std::optional<ImportChoice> rememberedImportChoice();
/// Remembers `choice`; false when the settings cannot be written.
bool rememberImportChoice(const ImportChoice& choice);
/// Forgets the choice (the app goes back to its data server settings).
void forgetImportChoice();

/// Where the imported market is published and served from.
std::filesystem::path importedTreePath();

}  // namespace orvane::app
