// The light and dark look: the choice and the desktop's scheme, the one
// table of readable colours, the desktop portal read and followed over a
// private bus, and the switch applied to the windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QSettings>
#include <QStyle>
#include <QTest>
#include <QThread>

#include "PrivateBus.h"
#include "common/ColourScheme.h"
#include "common/FigureColours.h"
#include "mainwindow/WidgetColours.h"
#include "platform/AppearanceSwitch.h"
#include "platform/DesktopColourScheme.h"

using namespace orvane;
using namespace orvane::app;

namespace {

/// The portal's settings: ReadOne (or only Read, as older portals) answers
/// the colour scheme it holds.
class FakePortal : public QDBusVirtualObject {
  public:
    uint scheme = 1;
    bool readOne = true;
    QStringList calls;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls << message.member() + " " + message.arguments().value(0).toString() + " " +
                     message.arguments().value(1).toString();
        if (message.member() == "ReadOne" && readOne)
            return connection.send(message.createReply(QVariant::fromValue(QDBusVariant(scheme))));
        if (message.member() == "Read")  // a variant in a variant
            return connection.send(message.createReply(
                QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(scheme))))));
        return connection.send(
            message.createErrorReply("org.freedesktop.DBus.Error.UnknownMethod", "no such method"));
    }
    QString introspect(const QString&) const override { return {}; }
};

}  // namespace

TEST(ColourScheme, ChoicesPortalValuesAndTheReadableTable) {
    using S = ColourScheme;
    EXPECT_EQ(schemeFor(Appearance::FollowSystem, S::Dark), S::Dark);
    EXPECT_EQ(schemeFor(Appearance::FollowSystem, std::nullopt), S::Light);
    EXPECT_EQ(schemeFor(Appearance::Light, S::Dark), S::Light);
    EXPECT_EQ(schemeFor(Appearance::Dark, S::Light), S::Dark);
    EXPECT_EQ(schemeOfPortalValue(0), std::nullopt);
    EXPECT_EQ(schemeOfPortalValue(1), S::Dark);
    EXPECT_EQ(schemeOfPortalValue(2), S::Light);
    EXPECT_EQ(schemeOfPortalValue(7), std::nullopt);
    for (Appearance a : {Appearance::FollowSystem, Appearance::Light, Appearance::Dark})
        EXPECT_EQ(appearanceOfWord(appearanceWord(a)), a);
    EXPECT_EQ(appearanceOfWord("purple"), Appearance::FollowSystem);

    // Every text colour of the lists and panels stays itself on light and
    // is readable on the dark window (contrast against its base of 30, 30,
    // 32 of at least 4.5, as for body text); red stays red, green green.
    auto luminance = [](const Rgb& c) {
        auto lin = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lin(c.red) + 0.7152 * lin(c.green) + 0.0722 * lin(c.blue);
    };
    const double base = luminance({30 / 255.0, 30 / 255.0, 32 / 255.0});
    const Rgb purple{0.5, 0, 0.5}, blue{0, 0, 1}, grey{1 / 3.0, 1 / 3.0, 1 / 3.0},
        darkGreen{10 / 255.0, 80 / 255.0, 10 / 255.0},
        pending{128 / 255.0, 128 / 255.0, 128 / 255.0};
    for (const Rgb& c :
         {colours::black, colours::fallingGreen, colours::risingRed, colours::red, colours::magenta,
          colours::orange, purple, blue, grey, darkGreen, pending}) {
        EXPECT_EQ(readableColour(c, S::Light), c);
        const Rgb dark = readableColour(c, S::Dark);
        EXPECT_GE((luminance(dark) + 0.05) / (base + 0.05), 4.5)
            << c.red << " " << c.green << " " << c.blue;
    }
    const Rgb up = readableColour(colours::risingRed, S::Dark);
    const Rgb down = readableColour(colours::fallingGreen, S::Dark);
    EXPECT_GT(up.red, up.green + 0.4);
    EXPECT_GT(down.green, down.red + 0.4);
}

TEST(DesktopColourScheme, ReadFromThePortalAndFollowed) {
    test::PrivateBus bus;
    if (bus.address().isEmpty()) GTEST_SKIP() << "dbus-daemon is not available";
    const auto disconnect = qScopeGuard([] {
        QDBusConnection::disconnectFromBus("portal-client");
        QDBusConnection::disconnectFromBus("portal-service");
    });
    QDBusConnection client = QDBusConnection::connectToBus(bus.address(), "portal-client");
    QDBusConnection service = QDBusConnection::connectToBus(bus.address(), "portal-service");

    // No portal on the bus: no preference, at once.
    DesktopColourScheme desktop(client);
    EXPECT_EQ(desktop.read(), std::nullopt);

    // The portal answers on a thread of its own, as a real one in another
    // process would while the reader waits.
    QThread portalThread;
    portalThread.start();
    const auto stopThread = qScopeGuard([&] {
        portalThread.quit();
        portalThread.wait();
    });
    FakePortal portal;
    portal.moveToThread(&portalThread);
    ASSERT_TRUE(service.registerVirtualObject(DesktopColourScheme::kPath, &portal));
    ASSERT_TRUE(service.registerService(DesktopColourScheme::kService));
    EXPECT_EQ(desktop.read(), ColourScheme::Dark);
    EXPECT_EQ(portal.calls.value(0), "ReadOne org.freedesktop.appearance color-scheme");
    portal.readOne = false;  // an older portal
    portal.scheme = 2;
    EXPECT_EQ(desktop.read(), ColourScheme::Light);
    EXPECT_EQ(portal.calls.mid(1), (QStringList{"ReadOne org.freedesktop.appearance color-scheme",
                                                "Read org.freedesktop.appearance color-scheme"}));

    // The desktop switches to dark: the change signal is followed; another
    // setting's change is not ours.
    std::vector<std::optional<ColourScheme>> heard;
    QObject::connect(&desktop, &DesktopColourScheme::changed,
                     [&](std::optional<ColourScheme> s) { heard.push_back(s); });
    auto signal = [&](const char* nameSpace, const char* key, uint value) {
        service.send(QDBusMessage::createSignal(DesktopColourScheme::kPath,
                                                DesktopColourScheme::kInterface, "SettingChanged")
                     << QString(nameSpace) << QString(key)
                     << QVariant::fromValue(QDBusVariant(value)));
    };
    signal("org.freedesktop.appearance", "accent-color", 1);
    signal("org.freedesktop.appearance", "color-scheme", 1);
    signal("org.freedesktop.appearance", "color-scheme", 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.size() == 2; }, 10000));
    EXPECT_EQ(heard, (std::vector<std::optional<ColourScheme>>{ColourScheme::Dark, std::nullopt}));
}

TEST(AppearanceSwitch, ChoiceKeptAndAppliedToEveryWindow) {
    QSettings settings(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
    const QVariant before = settings.value("appearance/scheme");
    const auto restore = qScopeGuard([&] {
        settings.setValue("appearance/scheme", before);
        setShownColourScheme(ColourScheme::Light);
        QApplication::setPalette(QApplication::style()->standardPalette());
    });
    settings.setValue("appearance/scheme", "light");
    QLabel label("涨跌");
    setTextColour(&label, toPlainQColor(colours::fallingGreen));
    AppearanceSwitch appearance(nullptr);
    EXPECT_EQ(appearance.choice(), Appearance::Light);
    std::unique_ptr<QMenu> menu(appearance.makeMenu(nullptr));
    ASSERT_EQ(menu->actions().size(), 3);

    menu->actions()[2]->trigger();  // 深色
    EXPECT_EQ(appearance.scheme(), ColourScheme::Dark);
    EXPECT_EQ(AppearanceSwitch::savedChoice(), Appearance::Dark);
    EXPECT_TRUE(menu->actions()[2]->isChecked());
    EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 80);
    EXPECT_EQ(label.palette().color(QPalette::WindowText),
              toPlainQColor(readableColour(colours::fallingGreen, ColourScheme::Dark)));
    EXPECT_EQ(toQColor(colours::black), QColor(230, 230, 230));

    menu->actions()[0]->trigger();  // 跟随系统, with no desktop to follow
    EXPECT_EQ(appearance.scheme(), ColourScheme::Light);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), toPlainQColor(colours::fallingGreen));
}
