#include "orvane/market/StockRecord.h"

#include "orvane/core/NumberText.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

namespace {

using TextField = std::optional<std::string> StockRecord::*;
using IntField = std::optional<std::int32_t> StockRecord::*;
using RealField = std::optional<float> StockRecord::*;

struct TextKey {
    const char* key;
    TextField field;
};
struct IntKey {
    const char* key;
    IntField field;
};
struct RealKey {
    const char* key;
    RealField field;
};

// Every field but the code, the flag and the before-5-days record, by key.
const TextKey kTexts[] = {
    {keys::STOCK_SC_Name, &StockRecord::name},
    {keys::STOCK_pinyin, &StockRecord::pinyin},
    {keys::STOCK_DATE, &StockRecord::date},
    {keys::STOCK_YesClosePrice, &StockRecord::yesClosePrice},
    {keys::STOCK_OpenPrice, &StockRecord::openPrice},
    {keys::STOCK_closePrice, &StockRecord::closePrice},
    {keys::STOCK_HighPrice, &StockRecord::highPrice},
    {keys::STOCK_LowPrice, &StockRecord::lowPrice},
    {keys::STOCK_Discription, &StockRecord::description},
    {keys::KEY_Plate_Group, &StockRecord::plateGroup},
};
const IntKey kIntegers[] = {
    {keys::STOCK_Trend, &StockRecord::trend},
    {keys::STOCK_SCORE, &StockRecord::score},
    {keys::STOCK_MODE_TYPE, &StockRecord::modeType},
};
const RealKey kReals[] = {
    {keys::KEY_Gain_5Days, &StockRecord::gain5},
    {keys::KEY_Gain_10Days, &StockRecord::gain10},
};

float priceOf(const std::optional<std::string>& text) {
    return text ? leadingFloat(*text) : 0.0f;
}

std::string textOf(const Value& v) {
    return v.isString() ? v.string() : describe(v);
}

}  // namespace

float StockRecord::yesClose() const {
    return priceOf(yesClosePrice);
}
float StockRecord::open() const {
    return priceOf(openPrice);
}
float StockRecord::close() const {
    return priceOf(closePrice);
}
float StockRecord::high() const {
    return priceOf(highPrice);
}
float StockRecord::low() const {
    return priceOf(lowPrice);
}

std::optional<Value> StockRecord::valueFor(std::string_view key) const {
    if (key == keys::STOCK_Code) return Value(code);
    if (key == keys::STOCK_Trend_ModeB) return modeB ? std::optional<Value>(*modeB) : std::nullopt;
    if (key == keys::STOCK_DICTINFO_Before5Days)
        return before5Days ? std::optional<Value>(before5Days->toDictionary()) : std::nullopt;
    for (const TextKey& t : kTexts)
        if (key == t.key)
            return (this->*t.field) ? std::optional<Value>(*(this->*t.field)) : std::nullopt;
    for (const IntKey& i : kIntegers)
        if (key == i.key)
            return (this->*i.field) ? std::optional<Value>(*(this->*i.field)) : std::nullopt;
    for (const RealKey& r : kReals)
        if (key == r.key)
            return (this->*r.field) ? std::optional<Value>(*(this->*r.field)) : std::nullopt;
    return std::nullopt;
}

Dictionary StockRecord::toDictionary() const {
    Dictionary d{{keys::STOCK_Code, code}};
    for (const TextKey& t : kTexts)
        if (const auto& v = this->*t.field) d.emplace(t.key, *v);
    for (const IntKey& i : kIntegers)
        if (const auto& v = this->*i.field) d.emplace(i.key, *v);
    for (const RealKey& r : kReals)
        if (const auto& v = this->*r.field) d.emplace(r.key, *v);
    if (modeB) d.emplace(keys::STOCK_Trend_ModeB, *modeB);
    if (before5Days) d.emplace(keys::STOCK_DICTINFO_Before5Days, before5Days->toDictionary());
    return d;
}

StockRecord StockRecord::fromDictionary(const Dictionary& d) {
    StockRecord r;
    if (const Value* v = find(d, keys::STOCK_Code)) r.code = textOf(*v);
    for (const TextKey& t : kTexts)
        if (const Value* v = find(d, t.key)) r.*t.field = textOf(*v);
    for (const IntKey& i : kIntegers)
        if (const Value* v = find(d, i.key)) r.*i.field = static_cast<std::int32_t>(v->toInteger());
    for (const RealKey& f : kReals)
        if (const Value* v = find(d, f.key)) r.*f.field = v->toFloat();
    if (const Value* v = find(d, keys::STOCK_Trend_ModeB)) r.modeB = v->toBool();
    if (const Value* v = find(d, keys::STOCK_DICTINFO_Before5Days); v && v->isDictionary())
        r.setBefore5Days(fromDictionary(v->dictionary()));
    return r;
}

bool operator==(const StockRecord& a, const StockRecord& b) {
    return a.toDictionary() == b.toDictionary();
}

std::vector<StockRecord> stockRecordsOf(const Array& list) {
    std::vector<StockRecord> records;
    records.reserve(list.size());
    for (const Value& v : list)
        if (v.isDictionary()) records.push_back(StockRecord::fromDictionary(v.dictionary()));
    return records;
}

Array dictionariesOf(const std::vector<StockRecord>& records) {
    Array list;
    list.reserve(records.size());
    for (const StockRecord& r : records) list.emplace_back(r.toDictionary());
    return list;
}

}  // namespace orvane
