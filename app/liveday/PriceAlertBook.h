#pragma once
// The user's price alerts, kept in "PriceAlerts.plist" in the data
// directory (an array of {code, kind, threshold}), apart from the model-B
// alerts. Written whole and atomically after every change; an unusable
// file is set aside and the list starts empty.

#include <filesystem>
#include <vector>

#include "liveday/PriceAlertRule.h"
#include "platform/StoredPropertyList.h"

namespace orvane::app {

class PriceAlertBook {
  public:
    static std::filesystem::path defaultFile();
    explicit PriceAlertBook(std::filesystem::path file = defaultFile());

    /// Reads the file; entries that do not read as an alert are left out.
    StoredPropertyList load();
    const std::vector<PriceAlert>& alerts() const { return alerts_; }
    std::vector<PriceAlert> alertsOf(std::string_view code) const;

    /// Replaces the list and saves it; false when the write failed (the
    /// list in memory is the new one all the same).
    bool replace(std::vector<PriceAlert> alerts);
    /// Adds an alert (an equal one is not added twice) and saves.
    bool add(const PriceAlert& alert);

  private:
    bool save() const;
    std::filesystem::path file_;
    std::vector<PriceAlert> alerts_;
};

}  // namespace orvane::app
