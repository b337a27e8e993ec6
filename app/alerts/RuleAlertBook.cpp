#include "alerts/RuleAlertBook.h"

#include <spdlog/spdlog.h>

#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/PropertyList.h"

namespace orvane::app {

namespace {

Array codesArray(const std::set<std::string>& codes) {
    Array out;
    for (const std::string& c : codes) out.emplace_back(c);
    return out;
}

std::set<std::string> codesOf(const Dictionary& d, std::string_view key) {
    std::set<std::string> out;
    if (const Value* v = find(d, key); v && v->isArray())
        for (const Value& c : v->array())
            if (c.isString()) out.insert(c.string());
    return out;
}

}  // namespace

std::filesystem::path RuleAlertBook::defaultFile() {
    return dataPath("RuleAlerts.plist");
}

RuleAlertBook::RuleAlertBook(std::filesystem::path file) : file_(std::move(file)) {}

StoredPropertyList RuleAlertBook::load() {
    StoredPropertyList read = readStoredPropertyList(file_, StoredKind::Dictionary);
    tracks_.clear();
    alerts_.clear();
    if (!read.wasRead()) return read;
    const Dictionary& d = read.value.dictionary();
    if (const Value* tracks = find(d, "tracks"); tracks && tracks->isDictionary())
        for (const auto& [name, value] : tracks->dictionary())
            if (value.isDictionary())
                tracks_[name] = {stringFor(value.dictionary(), "date"),
                                 codesOf(value.dictionary(), "today"),
                                 codesOf(value.dictionary(), "before")};
    if (const Value* alerts = find(d, "alerts"); alerts && alerts->isArray())
        alerts_ = alerts->array();
    return read;
}

std::vector<std::string> RuleAlertBook::newlyMet(const std::string& track, const std::string& date,
                                                 const std::vector<std::string>& met) {
    Track& t = tracks_[track];
    if (date > t.date) {
        // A new day: the latest day's codes are the ones to compare with.
        t.before = t.date.empty() ? std::set<std::string>{} : std::move(t.today);
        t.today.clear();
        t.date = date;
        changed_ = true;
    } else if (date < t.date) {
        return {};  // an older day than the track holds tells nothing
    }
    std::vector<std::string> out;
    for (const std::string& code : met)
        if (!t.before.contains(code) && t.today.insert(code).second) out.push_back(code);
    changed_ = changed_ || !out.empty();
    return out;
}

void RuleAlertBook::add(RuleAlertRecord r) {
    alerts_.emplace(alerts_.begin(), Dictionary{{"rule", r.rule},
                                                {"code", r.code},
                                                {"name", r.name},
                                                {"date", r.date},
                                                {"title", r.title},
                                                {"subtitle", r.subtitle},
                                                {"text", r.text}});
    if (alerts_.size() > kKeptRuleAlerts) alerts_.resize(kKeptRuleAlerts);
    changed_ = true;
}

std::vector<RuleAlertRecord> RuleAlertBook::alerts() const {
    std::vector<RuleAlertRecord> out;
    for (const Value& v : alerts_) {
        if (!v.isDictionary()) continue;
        const Dictionary& d = v.dictionary();
        out.push_back({stringFor(d, "rule"), stringFor(d, "code"), stringFor(d, "name"),
                       stringFor(d, "date"), stringFor(d, "title"), stringFor(d, "subtitle"),
                       stringFor(d, "text")});
    }
    return out;
}

bool RuleAlertBook::saveIfChanged() {
    if (!changed_) return true;
    Dictionary tracks;
    for (const auto& [name, t] : tracks_)
        tracks[name] = Dictionary{
            {"date", t.date}, {"today", codesArray(t.today)}, {"before", codesArray(t.before)}};
    const Value book(Dictionary{{"tracks", std::move(tracks)}, {"alerts", alerts_}});
    if (writePropertyList(file_, book)) {
        changed_ = false;
        return true;
    }
    spdlog::error("the rule alerts were not saved: {}", lastWriteFailureText(file_.string()));
    return false;
}

}  // namespace orvane::app
