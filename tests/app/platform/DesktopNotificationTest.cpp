// Desktop notifications against a fake notification service on a private
// session bus: the panel while no service answers, what is sent, and what a
// click on the alert leads to.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QFrame>
#include <QScopeGuard>
#include <QSignalSpy>
#include <functional>

#include "PrivateBus.h"
#include "TempDataDir.h"
#include "alerts/ModelBAlerts.h"
#include "alerts/NotificationPanelController.h"
#include "platform/FreedesktopNotificationCenter.h"

using namespace orvane;
using namespace orvane::app;

namespace {

/// Answers Notify with the id 7 and records the calls.
class FakeNotificationService : public QDBusVirtualObject {
  public:
    QVariantList notify;  // the last Notify's arguments, the hints as a map
    QList<uint> closed;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() == "Notify") {
            notify = message.arguments();
            notify[6] = qdbus_cast<QVariantMap>(notify[6]);
            return connection.send(message.createReply(QVariant(7u)));
        }
        closed << message.arguments().value(0).toUInt();  // CloseNotification
        return connection.send(message.createReply());
    }
    QString introspect(const QString&) const override { return {}; }
};

bool eventually(const std::function<bool()>& done) {
    QDeadlineTimer deadline(20000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

}  // namespace

TEST(DesktopNotification, PanelWithoutServiceThenNotifyAndClick) {
    test::PrivateBus bus;
    if (bus.address().isEmpty()) GTEST_SKIP() << "dbus-daemon is not available";
    const QString address = bus.address();
    const auto disconnect = qScopeGuard([] {
        UserNotificationCenter::install(nullptr);
        QDBusConnection::disconnectFromBus("alerts-client");
        QDBusConnection::disconnectFromBus("alerts-service");
    });
    {
        QDBusConnection client = QDBusConnection::connectToBus(address, "alerts-client");
        QDBusConnection service = QDBusConnection::connectToBus(address, "alerts-service");
        test::TempDataDir dir;
        NotificationPanelController panel;
        ModelBAlerts alerts(
            {.nameOf = [](const std::string&) { return std::string("浦发银行"); },
             .stockModeBFile = dir.path() / "StockModeB.plist",
             .desktopNotificationsAnswer =
                 [&] { return FreedesktopNotificationCenter::serviceAnswers(client); },
             .panel = &panel});
        QSignalSpy activated(&alerts, &ModelBAlerts::notificationActivated);
        Dictionary notice{{"StockCode", "600000"},         {"MsgDate", "2013-11-22 15:00:00"},
                          {"MsgDate_Check", "2013-11-21"}, {"STOCK_closePrice", "10.43"},
                          {"STOCK_ModeB_BUY_A", false},    {"STOCK_ModeB_BUY_B", true}};

        alerts.HandModeBNofification(notice);
        EXPECT_EQ(panel.incommingSMSDictList().size(), 1u);
        EXPECT_TRUE(panel.newMsgPanel()->isVisible());

        FakeNotificationService fake;
        ASSERT_TRUE(service.registerVirtualObject("/org/freedesktop/Notifications", &fake));
        ASSERT_TRUE(service.registerService("org.freedesktop.Notifications"));
        auto centre = std::make_shared<FreedesktopNotificationCenter>(client);
        UserNotificationCenter::install(centre);
        QSignalSpy delivered(centre.get(), &FreedesktopNotificationCenter::notificationDelivered);
        notice["MsgDate_Check"] = "2013-11-22";
        alerts.HandModeBNofification(notice);
        ASSERT_TRUE(eventually([&] { return delivered.count() == 1; }));
        EXPECT_EQ(panel.incommingSMSDictList().size(), 1u);
        EXPECT_EQ(alerts.stockModeBList().size(), 2u);
        EXPECT_EQ(fake.notify.mid(0, 6),
                  (QVariantList{"Orvane", 0u, "orvane", "浦发银行 (600000) 符合模型B",
                                "2013-11-22 日突破，是模型B的第二买点\n检测日期2013-11-22 "
                                "15:00:00 \n当前价格:10.43 ",
                                QStringList{"default", "确定", "other", "取消"}}));
        const QVariantMap hints = fake.notify[6].toMap();
        EXPECT_EQ(hints.value("sound-name"), "message-new-instant");
        EXPECT_EQ(hints.value("desktop-entry"), "orvane");

        // Another program's alert is not ours; then the user clicks on ours.
        for (uint id : {3u, 7u})
            service.send(QDBusMessage::createSignal("/org/freedesktop/Notifications",
                                                    "org.freedesktop.Notifications",
                                                    "ActionInvoked")
                         << id << QString("default"));
        ASSERT_TRUE(eventually([&] { return !fake.closed.empty(); }));
        ASSERT_EQ(activated.count(), 1);
        EXPECT_EQ(activated[0][0].toString(), "600000");
        EXPECT_EQ(fake.closed, QList<uint>{7u});
    }
}
