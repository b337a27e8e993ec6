#pragma once
// The desktop's colour scheme as the desktop portal states it: the setting
// "color-scheme" of the namespace "org.freedesktop.appearance", read over
// D-Bus from "org.freedesktop.portal.Desktop" (method ReadOne, or Read on
// portals older than it), and followed through its SettingChanged signal.
// A desktop without a portal states no preference.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>

#include "common/ColourScheme.h"

class QDBusMessage;

namespace orvane::app {

class DesktopColourScheme : public QObject {
    Q_OBJECT
  public:
    static constexpr const char* kService = "org.freedesktop.portal.Desktop";
    static constexpr const char* kPath = "/org/freedesktop/portal/desktop";
    static constexpr const char* kInterface = "org.freedesktop.portal.Settings";
    static constexpr const char* kNamespace = "org.freedesktop.appearance";
    static constexpr const char* kKey = "color-scheme";
    /// How long a read waits for the portal.
    static constexpr int kReadTimeoutMs = 1000;

    explicit DesktopColourScheme(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);

    /// Asks the portal now (waits up to kReadTimeoutMs); nothing when it
    /// states no preference or does not answer.
    std::optional<ColourScheme> read() const;

  Q_SIGNALS:
    /// The desktop's scheme changed (nothing: no preference any more).
    void changed(std::optional<orvane::app::ColourScheme> scheme);

  private Q_SLOTS:
    void onSettingChanged(const QDBusMessage& message);

  private:
    QDBusConnection bus_;
};

}  // namespace orvane::app
