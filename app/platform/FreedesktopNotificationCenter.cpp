#include "platform/FreedesktopNotificationCenter.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include "orvane/core/Log.h"

namespace orvane::app {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString bodyOf(const UserNotification& n) {
    if (n.subtitle.empty()) return qs(n.informativeText);
    if (n.informativeText.empty()) return qs(n.subtitle);
    return qs(n.subtitle + "\n" + n.informativeText);
}

}  // namespace

FreedesktopNotificationCenter::FreedesktopNotificationCenter(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    bus_.connect(kService, kPath, kInterface, "ActionInvoked", this,
                 SLOT(onActionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, "NotificationClosed", this,
                 SLOT(onNotificationClosed(uint, uint)));
}

bool FreedesktopNotificationCenter::serviceAnswers(const QDBusConnection& bus) {
    if (!bus.isConnected() || !bus.interface()) return false;
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(kService);
    if (registered.isValid() && registered.value()) return true;
    const QDBusReply<QStringList> activatable = bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(kService);
}

void FreedesktopNotificationCenter::deliverNotification(const UserNotification& notification) {
    QStringList actions;
    if (!notification.actionButtonTitle.empty())
        actions << kActionKey << qs(notification.actionButtonTitle);
    if (!notification.otherButtonTitle.empty())
        actions << kOtherKey << qs(notification.otherButtonTitle);
    const QVariantMap hints{
        {"sound-name", QStringLiteral("message-new-instant")},
        {"desktop-entry", QStringLiteral("orvane")},
    };

    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
    call << QStringLiteral("Orvane") << uint(0) << QStringLiteral("orvane")
         << qs(notification.title) << bodyOf(notification) << actions << hints << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this,
        [this, notification](QDBusPendingCallWatcher* w) { onNotifyAnswered(w, notification); });
}

void FreedesktopNotificationCenter::onNotifyAnswered(QDBusPendingCallWatcher* call,
                                                     const UserNotification& notification) {
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        ORVANE_LOG("Notify: %s", reply.error().message().toStdString().c_str());
        return;
    }
    shown_[reply.value()] = notification;
    emit notificationDelivered(reply.value());
}

void FreedesktopNotificationCenter::onActionInvoked(uint id, const QString& actionKey) {
    const auto it = shown_.find(id);
    if (it == shown_.end()) return;  // another program's alert
    const UserNotification notification = it->second;
    shown_.erase(it);
    const auto activation = actionKey == kOtherKey
                                ? UserNotificationActivation::OtherButtonClicked
                                : UserNotificationActivation::ActionButtonClicked;
    didActivateNotification(notification, activation);
    bus_.asyncCall(QDBusMessage::createMethodCall(kService, kPath, kInterface, "CloseNotification")
                   << id);
}

void FreedesktopNotificationCenter::onNotificationClosed(uint id, uint /*reason*/) {
    shown_.erase(id);
}

}  // namespace orvane::app
