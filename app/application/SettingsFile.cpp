#include "application/SettingsFile.h"

#include "orvane/core/DataDirectory.h"
#include "orvane/core/PropertyList.h"

namespace orvane::app {

bool saveSettings(const std::string& searchKey) {
    return writePropertyList(dataPath("Setting.plist"),
                             Value(Dictionary{{"searchKey", searchKey}}));
}

}  // namespace orvane::app
