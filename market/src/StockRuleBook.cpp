#include "orvane/market/StockRuleBook.h"

#include <algorithm>
#include <system_error>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileAside.h"
#include "orvane/core/PropertyList.h"

namespace orvane {

namespace {

namespace fs = std::filesystem;

std::optional<NamedRule> ruleOf(const Value& v) {
    if (!v.isDictionary()) return std::nullopt;
    const Dictionary& d = v.dictionary();
    const Value* name = find(d, "name");
    const Value* text = find(d, "text");
    const Value* alert = find(d, "alert");
    if (!name || !name->isString() || name->string().empty() || !text || !text->isString() ||
        (alert && !alert->isBool()))
        return std::nullopt;
    return NamedRule{name->string(), text->string(), alert && alert->toBool()};
}

// The rules of the file's bytes, or nothing when they are no list of rules.
std::optional<std::vector<NamedRule>> rulesOf(const std::string& bytes) {
    const std::optional<Value> value = parsePropertyList(bytes);
    if (!value || !value->isArray()) return std::nullopt;
    std::vector<NamedRule> rules;
    for (const Value& v : value->array()) {
        std::optional<NamedRule> rule = ruleOf(v);
        if (!rule) return std::nullopt;
        rules.push_back(std::move(*rule));
    }
    return rules;
}

}  // namespace

fs::path defaultRuleBookFile() {
    return dataPath("StockRules.plist");
}

RuleBookRead readRuleBook(const fs::path& file) {
    RuleBookRead read;
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || !fs::exists(status)) return read;
    std::string why;
    if (!fs::is_regular_file(status))
        why = "is no regular file";
    else if (fs::file_size(file, ec) > kRuleBookLimit || ec)
        why = "is larger than 4 MB";
    else if (const std::optional<std::string> bytes = readFile(file); !bytes)
        return read;  // the system refuses it: left alone
    else if (std::optional<std::vector<NamedRule>> rules = rulesOf(*bytes))
        read.rules = std::move(*rules);
    else
        why = "is no list of rules";
    if (why.empty()) return read;
    read.setAside = setFileAside(file);
    read.note = "规则文件 " + file.filename().string() + " " +
                (why == "is no list of rules" ? "已损坏" : "无法使用") +
                (read.setAside ? "，已另存为 " + read.setAside->filename().string() : "") +
                "，现无规则";
    return read;
}

std::optional<std::string> writeRuleBook(const std::vector<NamedRule>& rules,
                                         const fs::path& file) {
    Array list;
    for (const NamedRule& r : rules)
        list.emplace_back(Dictionary{{"name", r.name}, {"text", r.text}, {"alert", r.alert}});
    return replacePropertyList(file, Value(std::move(list)));
}

const NamedRule* findRule(const std::vector<NamedRule>& rules, std::string_view name) {
    const auto at = std::find_if(rules.begin(), rules.end(),
                                 [&](const NamedRule& r) { return r.name == name; });
    return at == rules.end() ? nullptr : &*at;
}

std::variant<ChosenRule, std::string> chooseRule(std::string_view nameOrText,
                                                 const std::vector<NamedRule>& rules) {
    const NamedRule* named = findRule(rules, nameOrText);
    const std::string text(named ? std::string_view(named->text) : nameOrText);
    auto parsed = parseStockRule(text);
    if (auto* rule = std::get_if<StockRule>(&parsed))
        return ChosenRule{std::string(named ? named->name : nameOrText), std::move(*rule)};
    const RuleError& error = std::get<RuleError>(parsed);
    if (named) return "the rule \"" + named->name + "\" does not read: " + error.text();
    const bool oneWord = nameOrText.find_first_of(" \t") == std::string_view::npos;
    return (oneWord ? "no rule named \"" + text + "\" in " + defaultRuleBookFile().string() +
                          ", and as a rule's text, "
                    : std::string()) +
           error.text();
}

}  // namespace orvane
