#pragma once
// The list of model-B alerts the user has been shown (`stockModeBList`),
// kept in "StockModeB.plist" in the data directory: a property-list array of
// alert records (ModelBAlertText.h), newest first. It is loaded once at
// window load, grows by one record per alert and is written whole and
// atomically after each one; nothing removes records.
//
// Repeats: the analysis and the result-file parsers report the same model-B
// stock again on every look at it. A notice for a stock and detected day
// ("MsgDate_Check") that a stored record already covers is a repeat: it is
// neither stored nor shown again. A record holds no date of its own, so the
// test reads what it does hold: its "ModeB_stockCode" equals the notice's
// code and its "ModeB_CheckDateStr" (the alert's subtitle, "<day> 日突破...")
// starts with the detected day followed by " 日突破".

#include <filesystem>
#include <string_view>

#include "alerts/ModelBAlertText.h"
#include "platform/StoredPropertyList.h"
#include "orvane/core/Value.h"

namespace orvane::app {

class ModelBAlertBook {
  public:
    /// "StockModeB.plist" in the data directory.
    static std::filesystem::path defaultFile();

    explicit ModelBAlertBook(std::filesystem::path file = defaultFile());

    /// Reads the file: an absent file gives an empty list, an unusable one is
    /// set aside (see the result) and also gives an empty list.
    StoredPropertyList load();

    const Array& stockModeBList() const { return list_; }
    const std::filesystem::path& file() const { return file_; }

    bool holdsAlertFor(std::string_view code, std::string_view checkDate) const;
    bool isRepeat(const ModelBNotice& notice) const {
        return holdsAlertFor(notice.code, notice.checkDate);
    }

    /// Puts the record first and saves the whole list. A failed write is
    /// ignored (false); the list in memory keeps the record.
    bool insertAndSave(Dictionary record);

  private:
    std::filesystem::path file_;
    Array list_;
};

}  // namespace orvane::app
