#pragma once
// The user's stock rules, kept by name in one file of the data folder
// ("StockRules.plist": an array of {name, text, alert} records in the user's
// order), read by the window, the command line and the alerts alike. The
// file is written whole and atomically. One that is no list of such records
// (or larger than kRuleBookLimit) is set aside beside itself with a note, and
// the rules start empty; a rule whose text does not read is kept as written,
// so that the user can mend it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "orvane/market/StockRule.h"

namespace orvane {

inline constexpr std::uintmax_t kRuleBookLimit = 4 * 1024 * 1024;

struct NamedRule {
    std::string name;
    std::string text;
    bool alert = false;  // 提醒: tell the user of each stock that newly meets it

    friend bool operator==(const NamedRule&, const NamedRule&) = default;
};

struct RuleBookRead {
    std::vector<NamedRule> rules;
    /// Where an unusable file was moved, and the note that says so (empty
    /// when the file was read or absent).
    std::optional<std::filesystem::path> setAside;
    std::string note;
};

/// "StockRules.plist" in the data folder.
std::filesystem::path defaultRuleBookFile();

RuleBookRead readRuleBook(const std::filesystem::path& file = defaultRuleBookFile());
/// Nothing once written, else what went wrong ("cannot write PATH: CAUSE").
std::optional<std::string> writeRuleBook(const std::vector<NamedRule>& rules,
                                         const std::filesystem::path& file = defaultRuleBookFile());

/// The rule of that name, or nothing.
const NamedRule* findRule(const std::vector<NamedRule>& rules, std::string_view name);

/// A rule given as a name from the book or as its text (the command line's
/// --rule): the book's rule when the name is there, else the text read as a
/// rule. The error names the column, and the book when the text was one word.
struct ChosenRule {
    std::string name;  // the book's name, or the text itself
    StockRule rule;
};
std::variant<ChosenRule, std::string> chooseRule(std::string_view nameOrText,
                                                 const std::vector<NamedRule>& rules);

}  // namespace orvane
