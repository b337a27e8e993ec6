#include "platform/StoredPropertyList.h"

#include <system_error>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/FileAside.h"
#include "orvane/core/Log.h"
#include "orvane/core/PropertyList.h"

namespace orvane::app {

namespace {

namespace fs = std::filesystem;

bool hasKind(const Value& value, StoredKind kind) {
    return kind == StoredKind::Dictionary ? value.isDictionary() : value.isArray();
}

}  // namespace

StoredPropertyList readStoredPropertyList(const fs::path& file, StoredKind kind) {
    StoredPropertyList result;
    result.file = file;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec))) return result;  // Missing

    const auto bytes = readFile(file);
    if (!bytes) {
        result.state = StoredPropertyList::State::Unreadable;
        return result;
    }
    if (auto value = parsePropertyList(*bytes); value && hasKind(*value, kind)) {
        result.state = StoredPropertyList::State::Read;
        result.value = std::move(*value);
        return result;
    }
    if (auto aside = setFileAside(file)) {
        result.state = StoredPropertyList::State::SetAside;
        result.setAsidePath = *aside;
        ORVANE_LOG("%s unreadable, moved to %s", file.string().c_str(), aside->string().c_str());
    } else {
        result.state = StoredPropertyList::State::Unreadable;
    }
    return result;
}

std::string StoredPropertyList::reportText() const {
    const std::string name = file.filename().string();
    switch (state) {
        case State::SetAside:
            return "文件 " + name + " 已损坏，已另存为 " + setAsidePath.filename().string() +
                   "，现使用默认设置";
        case State::Unreadable:
            return "文件 " + name + " 无法读取，现使用默认设置";
        default:
            return {};
    }
}

}  // namespace orvane::app
