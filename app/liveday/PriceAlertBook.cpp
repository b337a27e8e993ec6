#include "liveday/PriceAlertBook.h"

#include <algorithm>

#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/Log.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/StockCode.h"

namespace orvane::app {

namespace {
constexpr const char* kCode = "code";
constexpr const char* kKind = "kind";
constexpr const char* kThreshold = "threshold";
}  // namespace

std::filesystem::path PriceAlertBook::defaultFile() {
    return dataPath("PriceAlerts.plist");
}

PriceAlertBook::PriceAlertBook(std::filesystem::path file) : file_(std::move(file)) {}

StoredPropertyList PriceAlertBook::load() {
    StoredPropertyList read = readStoredPropertyList(file_, StoredKind::Array);
    alerts_.clear();
    if (!read.wasRead()) return read;
    for (const Value& entry : read.value.array()) {
        if (!entry.isDictionary()) continue;
        const Dictionary& d = entry.dictionary();
        const Value* threshold = find(d, kThreshold);
        const auto kind = kindOfKey(stringFor(d, kKind));
        const std::string code = stringFor(d, kCode);
        if (!isValidStockCode(code) || !kind || !threshold ||
            !(threshold->isReal() || threshold->isInteger()))
            continue;
        alerts_.push_back({code, *kind, threshold->toDouble()});
    }
    return read;
}

std::vector<PriceAlert> PriceAlertBook::alertsOf(std::string_view code) const {
    std::vector<PriceAlert> out;
    for (const PriceAlert& a : alerts_)
        if (a.code == code) out.push_back(a);
    return out;
}

bool PriceAlertBook::replace(std::vector<PriceAlert> alerts) {
    alerts_ = std::move(alerts);
    return save();
}

bool PriceAlertBook::add(const PriceAlert& alert) {
    if (std::find(alerts_.begin(), alerts_.end(), alert) == alerts_.end()) alerts_.push_back(alert);
    return save();
}

bool PriceAlertBook::save() const {
    Array list;
    for (const PriceAlert& a : alerts_)
        list.emplace_back(Dictionary{{kCode, Value(a.code)},
                                     {kKind, Value(std::string(kindKey(a.kind)))},
                                     {kThreshold, Value(a.threshold)}});
    if (writePropertyList(file_, Value(list))) return true;
    spdlog::error("the price alerts were not saved: {}", lastWriteFailureText(file_.string()));
    return false;
}

}  // namespace orvane::app
