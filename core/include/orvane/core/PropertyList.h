#pragma once
// Property-list files (XML or binary) read into values, written as XML.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/core/Value.h"

namespace orvane {

/// Nothing when the file is absent or not a property list. A file the
/// parser must not be given (PropertyListLimits.h) also reads as nothing,
/// and is set aside (FileAside.h) with a warning.
std::optional<Value> readPropertyList(const std::filesystem::path& path);
/// Nothing when the bytes are no property list or exceed the limits.
std::optional<Value> parsePropertyList(std::string_view bytes);
/// The array a property-list file holds; empty when the file is absent,
/// malformed or holds something else.
Array readPropertyListArray(const std::filesystem::path& path);

/// Atomic; nothing once written, else what went wrong ("cannot write PATH:
/// CAUSE"), with the old file untouched.
std::optional<std::string> replacePropertyList(const std::filesystem::path& path,
                                               const Value& value);
/// Atomic; false when the value cannot be stored or the write fails.
bool writePropertyList(const std::filesystem::path& path, const Value& value);
std::string toXmlPropertyList(const Value& value);

}  // namespace orvane
