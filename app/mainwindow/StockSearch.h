#pragma once
// The rules of the main window's stock search field: the completion list for
// what the user types, what a picked completion shows, and how the window
// answers a changed text (status line, name field, add-to-holdings button,
// stock caption). Pure, over the code table and the sector groups.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {
class CodeTable;
class SectorGroups;
}  // namespace orvane

namespace orvane::app {

/// One completion per candidate of the code table, in table order:
/// name + " (" + code + ")    ".
std::vector<std::string> completionStrings(const CodeTable& table, std::string_view key);

/// What the field shows for a token: the 6 characters after the first "("
/// of a picked completion, else the text itself.
std::string tokenDisplayString(std::string_view text);

/// The stock caption: the localized "title" format with the stock's name and
/// code. Each "%s" (or "%@") of the format takes the next argument; nothing
/// else of the format is interpreted, so a translation cannot misuse them.
std::string stockCaption(std::string_view titleFormat, std::string_view name,
                         std::string_view code);

struct SearchLookups {
    const CodeTable& codes;
    const SectorGroups& sectors;
    /// Whether the holdings list holds the code already.
    std::function<bool(std::string_view)> isHeld;
    /// The localized "title" format.
    std::string titleFormat;
};

/// The window's answer to a changed search text; a field left empty stays as
/// it is.
struct SearchFieldChange {
    std::optional<std::string> status;
    std::optional<std::string> name;
    std::optional<std::string> searchText;
    std::optional<std::string> caption;
    /// The stock the text stands for: a listed code, or the code of a name.
    std::optional<std::string> code;
    bool addEnabled = false;
    /// The verdict field is emptied (texts of 2 or more characters).
    bool clearVerdict = false;
};

SearchFieldChange searchTextChanged(std::string_view text, const SearchLookups& lookups);

/// The status line for a code: its sector groups, then " \r\n".
std::string sectorStatusLine(const SectorGroups& sectors, std::string_view code);

}  // namespace orvane::app
