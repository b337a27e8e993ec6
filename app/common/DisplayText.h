#pragma once
// The program's texts as the window shows them: its status and report
// texts carry "\r\n" line ends, a label wants "\n".

#include <QString>
#include <string>
#include <string_view>

#include "orvane/core/StringTable.h"

namespace orvane::app {

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

/// The text under `key` in the program's string table.
inline QString textOf(std::string_view key) {
    return QString::fromStdString(localizedString(key));
}

inline QString displayText(const std::string& text) {
    return qs(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace orvane::app
