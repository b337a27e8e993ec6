#pragma once
// The settings kept from one run to the next: "Setting.plist" in the data
// directory, written whole at quit.

#include <string>

namespace orvane::app {

/// Saves the chosen search portal; false when the file cannot be written
/// (the old file stays whole; `lastWriteFailure` names the file and why).
bool saveSettings(const std::string& searchKey);

}  // namespace orvane::app
