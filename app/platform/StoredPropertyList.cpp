#include "platform/StoredPropertyList.h"

#include "platform/BoundedFileRead.h"

#include "orvane/core/FileAside.h"
#include "orvane/core/Log.h"
#include "orvane/core/PropertyList.h"

namespace orvane::app {

namespace {

namespace fs = std::filesystem;

bool hasKind(const Value& value, StoredKind kind) {
    return kind == StoredKind::Dictionary ? value.isDictionary() : value.isArray();
}

const char* faultText(StoredPropertyList::Fault fault) {
    switch (fault) {
        case StoredPropertyList::Fault::TooLarge:
            return "过大（超过 8 MB）";
        case StoredPropertyList::Fault::NotAFile:
            return "不是普通文件";
        default:
            return "已损坏";
    }
}

}  // namespace

StoredPropertyList readStoredPropertyList(const fs::path& file, StoredKind kind) {
    StoredPropertyList result;
    result.file = file;
    using Outcome = BoundedFileRead::Outcome;
    const BoundedFileRead read = readBoundedFile(file, kStoredPropertyListLimit);
    switch (read.outcome) {
        case Outcome::Missing:
            return result;
        case Outcome::Unreadable:
            result.state = StoredPropertyList::State::Unreadable;
            return result;
        case Outcome::NotAFile:
            result.fault = StoredPropertyList::Fault::NotAFile;
            break;
        case Outcome::TooLarge:
            result.fault = StoredPropertyList::Fault::TooLarge;
            break;
        case Outcome::Read:
            if (auto value = parsePropertyList(read.bytes); value && hasKind(*value, kind)) {
                result.state = StoredPropertyList::State::Read;
                result.value = std::move(*value);
                return result;
            }
            break;
    }
    setStoredFileAside(result);
    return result;
}

void setStoredFileAside(StoredPropertyList& stored) {
    stored.value = Value();
    if (auto aside = setFileAside(stored.file)) {
        stored.state = StoredPropertyList::State::SetAside;
        stored.setAsidePath = *aside;
        ORVANE_LOG("%s unreadable (%s), moved to %s", stored.file.string().c_str(),
                   faultText(stored.fault), aside->string().c_str());
    } else {
        stored.state = StoredPropertyList::State::Unreadable;
    }
}

std::string StoredPropertyList::reportText() const {
    const std::string name = file.filename().string();
    switch (state) {
        case State::SetAside:
            return "文件 " + name + " " + faultText(fault) + "，已另存为 " +
                   setAsidePath.filename().string() + "，现使用默认设置";
        case State::Unreadable:
            return "文件 " + name + " 无法读取，现使用默认设置";
        default:
            return {};
    }
}

}  // namespace orvane::app
