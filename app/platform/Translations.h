#pragma once
// The program's translation (the Chinese texts looked up by key) is compiled
// into the application as a resource and always loaded: every user-facing
// text of the program is Chinese, whatever the desktop's language.

#include <QString>

class QCoreApplication;

namespace orvane::app {

/// The compiled translation inside the application's resources.
inline const QString kTranslationResource = QStringLiteral(":/i18n/orvane_zh_CN.qm");

/// Loads the translation and installs it in `application` (which owns it
/// from then on), so that tr() and QCoreApplication::translate answer from
/// it. False when the resource is missing or unreadable.
bool installTranslations(QCoreApplication& application);

}  // namespace orvane::app
