#pragma once
// The user-notification seam on a Linux desktop: alerts go to the
// freedesktop notification service ("org.freedesktop.Notifications" on the
// session bus). Each alert shows the title as its summary, the subtitle and
// the informative text as its body, the buttons "确定" (action key
// "default", so a click on the alert's body counts as "确定" too) and
// "取消", the "message-new-instant" sound of the sound theme and the
// application's icon. When the user picks a button the activation handler
// runs (on this object's thread, the main thread) and the alert is closed.
//
// Install it once at start-up:
//   UserNotificationCenter::install(std::make_shared<FreedesktopNotificationCenter>());

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <map>

#include "orvane/core/UserNotificationCenter.h"

class QDBusPendingCallWatcher;

namespace orvane::app {

class FreedesktopNotificationCenter final : public QObject, public UserNotificationCenter {
    Q_OBJECT
  public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    static constexpr const char* kInterface = "org.freedesktop.Notifications";
    /// Action keys of the two buttons.
    static constexpr const char* kActionKey = "default";
    static constexpr const char* kOtherKey = "other";

    explicit FreedesktopNotificationCenter(QDBusConnection bus = QDBusConnection::sessionBus(),
                                           QObject* parent = nullptr);

    /// Sends the alert; the answer (the service's id for it) comes back
    /// asynchronously, so this never waits for the service.
    void deliverNotification(const UserNotification& notification) override;

    /// True when a notification service owns its name on `bus` or the bus
    /// can start one.
    static bool serviceAnswers(const QDBusConnection& bus);

  signals:
    /// The service accepted an alert and gave it this id.
    void notificationDelivered(uint id);

  private slots:
    void onActionInvoked(uint id, const QString& actionKey);
    void onNotificationClosed(uint id, uint reason);

  private:
    void onNotifyAnswered(QDBusPendingCallWatcher* call, const UserNotification& notification);

    QDBusConnection bus_;
    /// Alerts on screen, by the service's id.
    std::map<uint, UserNotification> shown_;
};

}  // namespace orvane::app
