#pragma once
// A dynamically typed value: the currency of stock records, notification
// payloads and property lists (strings, integers, reals, booleans, dates,
// arrays and dictionaries).

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvane {

class Value;
using Array = std::vector<Value>;
using Dictionary = std::map<std::string, Value, std::less<>>;

/// An absolute instant, in seconds since 1970-01-01 00:00 UTC.
struct Date {
    double secondsSince1970 = 0;
    friend bool operator==(const Date&, const Date&) = default;
};

class Value {
  public:
    using Storage = std::variant<std::monostate, bool, std::int64_t, double, std::string, Date,
                                 Array, Dictionary>;

    Value() = default;
    Value(bool b) : v_(b) {}
    Value(int i) : v_(std::int64_t{i}) {}
    Value(unsigned i) : v_(std::int64_t{i}) {}
    Value(std::int64_t i) : v_(i) {}
    Value(float f) : v_(double{f}) {}
    Value(double d) : v_(d) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(std::string_view s) : v_(std::string(s)) {}
    Value(Date d) : v_(d) {}
    Value(Array a) : v_(std::move(a)) {}
    Value(Dictionary d) : v_(std::move(d)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isString() const { return std::holds_alternative<std::string>(v_); }
    bool isBool() const { return std::holds_alternative<bool>(v_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(v_); }
    bool isReal() const { return std::holds_alternative<double>(v_); }
    bool isNumber() const { return isBool() || isInteger() || isReal(); }
    bool isDate() const { return std::holds_alternative<Date>(v_); }
    bool isArray() const { return std::holds_alternative<Array>(v_); }
    bool isDictionary() const { return std::holds_alternative<Dictionary>(v_); }

    /// The text of a string value; empty for every other kind.
    const std::string& string() const;
    /// Numbers as they are; strings through the leading-number conversion;
    /// anything else 0.
    double toDouble() const;
    float toFloat() const;
    std::int64_t toInteger() const;
    bool toBool() const;
    Date date() const;
    const Array& array() const;
    const Dictionary& dictionary() const;
    Array* arrayPtr() { return std::get_if<Array>(&v_); }
    Dictionary* dictionaryPtr() { return std::get_if<Dictionary>(&v_); }

    const Storage& storage() const { return v_; }
    friend bool operator==(const Value&, const Value&) = default;

  private:
    Storage v_;
};

/// The value under `key`, or nullptr.
const Value* find(const Dictionary& d, std::string_view key);
/// Convenience readers that treat a missing key as empty / 0.
std::string stringFor(const Dictionary& d, std::string_view key);
float floatFor(const Dictionary& d, std::string_view key);
/// A one-line rendering for log lines: "{key = value; ...}", "(a, b)".
std::string describe(const Value& v);
/// The integer value, truncated to 32 bits as an int field would hold it.
std::int32_t intFor(const Dictionary& d, std::string_view key);

}  // namespace orvane
