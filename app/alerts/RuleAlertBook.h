#pragma once
// What the rule alerts remember, in "RuleAlerts.plist" in the data folder
// (apart from the model-B alerts' "StockModeB.plist"): for each track (a
// rule over the day's results, or a rule over the held stocks' quotes) the
// stocks that met it on its latest day, and the alerts shown, newest first
// (at most kKeptRuleAlerts). Written whole and atomically after each change;
// an unusable file is set aside (StoredPropertyList.h).
//
// A stock newly meets a rule on a day when it did not meet it on the track's
// previous day, and has not been told already that day: results of a day
// checked again (the next launch) tell nothing twice, and quotes of one day
// tell each stock once.

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "orvane/core/Value.h"
#include "platform/StoredPropertyList.h"

namespace orvane::app {

inline constexpr std::size_t kKeptRuleAlerts = 500;

struct RuleAlertRecord {
    std::string rule, code, name, date;
    std::string title, subtitle, text;  // as the notification showed them
};

class RuleAlertBook {
  public:
    /// "RuleAlerts.plist" in the data directory.
    static std::filesystem::path defaultFile();

    explicit RuleAlertBook(std::filesystem::path file = defaultFile());

    StoredPropertyList load();

    /// The codes of `met` that newly meet the track on `date`; the track then
    /// holds `date` and the codes met that day.
    std::vector<std::string> newlyMet(const std::string& track, const std::string& date,
                                      const std::vector<std::string>& met);

    void add(RuleAlertRecord record);
    std::vector<RuleAlertRecord> alerts() const;

    /// Writes the book when it changed since it was read or last written;
    /// false when the write failed (the book in memory keeps the change).
    bool saveIfChanged();

  private:
    struct Track {
        std::string date;
        std::set<std::string> today, before;  // codes met on date, and on the day before it
    };
    std::filesystem::path file_;
    std::map<std::string, Track> tracks_;
    Array alerts_;
    bool changed_ = false;
};

}  // namespace orvane::app
