#pragma once
// Property-list files (XML or binary) read into values, written as XML.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/core/Value.h"

namespace orvane {

/// Nothing when the file is absent or not a property list.
std::optional<Value> readPropertyList(const std::filesystem::path& path);
std::optional<Value> parsePropertyList(std::string_view bytes);
/// The array a property-list file holds; empty when the file is absent,
/// malformed or holds something else.
Array readPropertyListArray(const std::filesystem::path& path);

/// Atomic; false when the value cannot be stored or the write fails.
bool writePropertyList(const std::filesystem::path& path, const Value& value);
std::string toXmlPropertyList(const Value& value);

}  // namespace orvane
