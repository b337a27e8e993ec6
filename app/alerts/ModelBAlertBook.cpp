#include "alerts/ModelBAlertBook.h"

#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/Log.h"
#include "orvane/core/PropertyList.h"

namespace orvane::app {

std::filesystem::path ModelBAlertBook::defaultFile() {
    return dataPath("StockModeB.plist");
}

ModelBAlertBook::ModelBAlertBook(std::filesystem::path file) : file_(std::move(file)) {}

StoredPropertyList ModelBAlertBook::load() {
    StoredPropertyList read = readStoredPropertyList(file_, StoredKind::Array);
    list_ = read.wasRead() ? read.value.array() : Array{};
    return read;
}

bool ModelBAlertBook::holdsAlertFor(std::string_view code, std::string_view checkDate) const {
    const std::string dayPrefix = std::string(checkDate) + " 日突破";
    for (const Value& entry : list_) {
        if (!entry.isDictionary()) continue;
        const Dictionary& record = entry.dictionary();
        if (stringFor(record, ModeB_stockCode) == code &&
            stringFor(record, ModeB_CheckDateStr).starts_with(dayPrefix))
            return true;
    }
    return false;
}

bool ModelBAlertBook::insertAndSave(Dictionary record) {
    list_.emplace(list_.begin(), std::move(record));
    if (writePropertyList(file_, Value(list_))) return true;
    spdlog::error("the model-B alerts were not saved: {}", lastWriteFailureText(file_.string()));
    return false;
}

}  // namespace orvane::app
