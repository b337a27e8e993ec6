#pragma once
// The program's texts as the window shows them: its status and report
// texts carry "\r\n" line ends, a label wants "\n".

#include <QString>
#include <string>

namespace orvane::app {

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

inline QString displayText(const std::string& text) {
    return qs(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace orvane::app
