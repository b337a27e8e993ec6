#include "orvane/core/Value.h"

#include "orvane/core/NumberText.h"

namespace orvane {

namespace {
const std::string kEmptyString;
const Array kEmptyArray;
const Dictionary kEmptyDictionary;
}  // namespace

const std::string& Value::string() const {
    if (auto* s = std::get_if<std::string>(&v_)) return *s;
    return kEmptyString;
}

double Value::toDouble() const {
    if (auto* d = std::get_if<double>(&v_)) return *d;
    if (auto* i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
    if (auto* b = std::get_if<bool>(&v_)) return *b ? 1.0 : 0.0;
    if (auto* s = std::get_if<std::string>(&v_)) return leadingDouble(*s);
    return 0.0;
}

float Value::toFloat() const {
    // Text converts straight to single precision, never through a double.
    if (auto* s = std::get_if<std::string>(&v_)) return leadingFloat(*s);
    return static_cast<float>(toDouble());
}

std::int64_t Value::toInteger() const {
    if (auto* i = std::get_if<std::int64_t>(&v_)) return *i;
    if (auto* d = std::get_if<double>(&v_)) return static_cast<std::int64_t>(*d);
    if (auto* b = std::get_if<bool>(&v_)) return *b ? 1 : 0;
    if (auto* s = std::get_if<std::string>(&v_)) return leadingInt(*s);
    return 0;
}

bool Value::toBool() const {
    if (auto* b = std::get_if<bool>(&v_)) return *b;
    if (auto* i = std::get_if<std::int64_t>(&v_)) return *i != 0;
    if (auto* d = std::get_if<double>(&v_)) return *d != 0.0;
    if (auto* s = std::get_if<std::string>(&v_)) return leadingInt(*s) != 0;
    return false;
}

Date Value::date() const {
    if (auto* d = std::get_if<Date>(&v_)) return *d;
    return {};
}

const Array& Value::array() const {
    if (auto* a = std::get_if<Array>(&v_)) return *a;
    return kEmptyArray;
}

const Dictionary& Value::dictionary() const {
    if (auto* d = std::get_if<Dictionary>(&v_)) return *d;
    return kEmptyDictionary;
}

const Value* find(const Dictionary& d, std::string_view key) {
    auto it = d.find(key);
    return it == d.end() ? nullptr : &it->second;
}

std::string stringFor(const Dictionary& d, std::string_view key) {
    const Value* v = find(d, key);
    return v ? v->string() : std::string();
}

float floatFor(const Dictionary& d, std::string_view key) {
    const Value* v = find(d, key);
    return v ? v->toFloat() : 0.0f;
}

std::int32_t intFor(const Dictionary& d, std::string_view key) {
    const Value* v = find(d, key);
    return v ? static_cast<std::int32_t>(v->toInteger()) : 0;
}

std::string describe(const Value& v) {
    if (v.isString()) return v.string();
    if (v.isBool()) return v.toBool() ? "1" : "0";
    if (v.isInteger()) return std::to_string(v.toInteger());
    if (v.isReal()) return format("%g", v.toDouble());
    if (v.isDate()) return format("%.0f", v.date().secondsSince1970);
    std::string out;
    if (v.isArray()) {
        for (const Value& e : v.array()) out += (out.empty() ? "" : ", ") + describe(e);
        return "(" + out + ")";
    }
    if (v.isDictionary()) {
        for (const auto& [key, e] : v.dictionary()) out += key + " = " + describe(e) + "; ";
        return "{" + out + "}";
    }
    return out;
}

}  // namespace orvane
