#include "StoredPropertyList.h"

#include <system_error>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/Log.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/PropertyList.h"

namespace orvane::app {

namespace {

namespace fs = std::filesystem;

bool hasKind(const Value& value, StoredKind kind) {
    return kind == StoredKind::Dictionary ? value.isDictionary() : value.isArray();
}

std::string stamp(const LocalDateTime& t) {
    return format("%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace

std::optional<fs::path> setFileAside(const fs::path& file) {
    const std::string base = file.filename().string() + ".unreadable-" + stamp(toLocal(now()));
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        const fs::path candidate =
            file.parent_path() / (n == 1 ? base : base + "-" + std::to_string(n));
        if (fs::exists(fs::symlink_status(candidate, ec))) continue;
        fs::rename(file, candidate, ec);
        if (ec) return std::nullopt;
        return candidate;
    }
    return std::nullopt;
}

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
