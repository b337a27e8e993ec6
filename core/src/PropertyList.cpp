#include "orvane/core/PropertyList.h"

#include <plist/plist.h>
#include <spdlog/spdlog.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/FileAside.h"
#include "orvane/core/PropertyListLimits.h"

namespace orvane {

namespace {

// Property-list dates count from 2001-01-01 00:00 UTC.
constexpr double kSecondsFrom1970To2001 = 978307200.0;

struct PlistDeleter {
    void operator()(void* p) const { plist_free(static_cast<plist_t>(p)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

// `nesting`: the arrays and dictionaries around the node.
std::optional<Value> fromNode(plist_t node, std::size_t nesting) {
    if (!node) return std::nullopt;
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            return Value(b != 0);
        }
        case PLIST_UINT: {
            uint64_t u = 0;
            plist_get_uint_val(node, &u);
            return Value(static_cast<std::int64_t>(u));
        }
        case PLIST_REAL: {
            double d = 0;
            plist_get_real_val(node, &d);
            return Value(d);
        }
        case PLIST_STRING:
        case PLIST_KEY: {
            char* s = nullptr;
            plist_get_string_val(node, &s);
            Value v(std::string(s ? s : ""));
            std::free(s);
            return v;
        }
        case PLIST_DATE: {
            int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return Value(Date{sec + usec / 1e6 + kSecondsFrom1970To2001});
        }
        case PLIST_DATA: {
            uint64_t len = 0;
            const char* p = plist_get_data_ptr(node, &len);
            return Value(std::string(p ? p : "", p ? len : 0));
        }
        case PLIST_ARRAY: {
            if (++nesting > kMaxPropertyListNesting) return std::nullopt;
            Array a;
            uint32_t n = plist_array_get_size(node);
            a.reserve(n);
            for (uint32_t i = 0; i < n; ++i) {
                auto item = fromNode(plist_array_get_item(node, i), nesting);
                if (!item) return std::nullopt;
                a.push_back(std::move(*item));
            }
            return Value(std::move(a));
        }
        case PLIST_DICT: {
            if (++nesting > kMaxPropertyListNesting) return std::nullopt;
            Dictionary d;
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            while (it) {
                char* key = nullptr;
                plist_t val = nullptr;
                plist_dict_next_item(node, it, &key, &val);
                if (!key) break;
                auto item = fromNode(val, nesting);
                std::string k(key);
                std::free(key);
                if (!item) {
                    std::free(it);
                    return std::nullopt;
                }
                d.insert_or_assign(std::move(k), std::move(*item));
            }
            std::free(it);
            return Value(std::move(d));
        }
        default:
            return std::nullopt;
    }
}

plist_t toNode(const Value& v) {
    struct Visitor {
        plist_t operator()(std::monostate) const { return nullptr; }
        plist_t operator()(bool b) const { return plist_new_bool(b ? 1 : 0); }
        plist_t operator()(std::int64_t i) const {
            return plist_new_uint(static_cast<uint64_t>(i));
        }
        plist_t operator()(double d) const { return plist_new_real(d); }
        plist_t operator()(const std::string& s) const { return plist_new_string(s.c_str()); }
        plist_t operator()(Date d) const {
            double rel = d.secondsSince1970 - kSecondsFrom1970To2001;
            double sec = std::floor(rel);
            return plist_new_date(static_cast<int32_t>(sec),
                                  static_cast<int32_t>((rel - sec) * 1e6));
        }
        plist_t operator()(const Array& a) const {
            plist_t node = plist_new_array();
            for (const Value& item : a) {
                plist_t child = toNode(item);
                if (!child) {
                    plist_free(node);
                    return nullptr;
                }
                plist_array_append_item(node, child);
            }
            return node;
        }
        plist_t operator()(const Dictionary& d) const {
            plist_t node = plist_new_dict();
            for (const auto& [key, item] : d) {
                plist_t child = toNode(item);
                if (!child) {
                    plist_free(node);
                    return nullptr;
                }
                plist_dict_set_item(node, key.c_str(), child);
            }
            return node;
        }
    };
    return std::visit(Visitor{}, v.storage());
}

// Bytes that passed propertyListRefusal.
std::optional<Value> parseAllowed(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > UINT32_MAX) return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    PlistPtr guard(root);
    return fromNode(root, 0);
}

}  // namespace

std::optional<Value> parsePropertyList(std::string_view bytes) {
    if (propertyListRefusal(bytes)) return std::nullopt;
    return parseAllowed(bytes);
}

std::optional<Value> readPropertyList(const std::filesystem::path& path) {
    auto bytes = readFile(path);
    if (!bytes) return std::nullopt;
    if (auto refusal = propertyListRefusal(*bytes)) {
        if (auto aside = setFileAside(path))
            spdlog::warn("{} holds {}: not read, kept aside as {}", path.string(), *refusal,
                         aside->filename().string());
        else
            spdlog::warn("{} holds {}: not read, and it could not be kept aside", path.string(),
                         *refusal);
        return std::nullopt;
    }
    return parseAllowed(*bytes);
}

Array readPropertyListArray(const std::filesystem::path& path) {
    auto value = readPropertyList(path);
    return value && value->isArray() ? value->array() : Array{};
}

std::string toXmlPropertyList(const Value& value) {
    PlistPtr node(toNode(value));
    if (!node) return {};
    char* xml = nullptr;
    uint32_t len = 0;
    plist_to_xml(static_cast<plist_t>(node.get()), &xml, &len);
    std::string out(xml ? xml : "", xml ? len : 0);
    plist_to_xml_free(xml);
    return out;
}

std::optional<std::string> replacePropertyList(const std::filesystem::path& path,
                                               const Value& value) {
    std::string xml = toXmlPropertyList(value);
    if (xml.empty()) return "cannot write " + path.string() + ": the value is no property list";
    return replaceFile(path, xml);
}

bool writePropertyList(const std::filesystem::path& path, const Value& value) {
    return !replacePropertyList(path, value);
}

}  // namespace orvane
