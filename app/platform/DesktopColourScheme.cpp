#include "platform/DesktopColourScheme.h"

#include <QDBusMessage>
#include <QDBusVariant>

namespace orvane::app {

namespace {

/// The value inside however many variants the portal wraps it in (Read
/// answers a variant holding a variant).
QVariant unwrapped(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

std::optional<ColourScheme> schemeOf(const QVariant& value) {
    bool ok = false;
    const uint number = unwrapped(value).toUInt(&ok);
    return ok ? schemeOfPortalValue(number) : std::nullopt;
}

}  // namespace

DesktopColourScheme::DesktopColourScheme(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    // Any sender: the portal may start (and take its name) after this.
    if (bus_.isConnected())
        bus_.connect(QString(), kPath, kInterface, QStringLiteral("SettingChanged"), this,
                     SLOT(onSettingChanged(QDBusMessage)));
}

std::optional<ColourScheme> DesktopColourScheme::read() const {
    if (!bus_.isConnected()) return std::nullopt;
    for (const char* method : {"ReadOne", "Read"}) {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
        call << QString(kNamespace) << QString(kKey);
        const QDBusMessage reply = bus_.call(call, QDBus::Block, kReadTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            return schemeOf(reply.arguments().first());
        // A portal without ReadOne says so at once; one that does not answer
        // is not asked twice.
        if (reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"))
            return std::nullopt;
    }
    return std::nullopt;
}

void DesktopColourScheme::onSettingChanged(const QDBusMessage& message) {
    // (namespace, key, value)
    const QVariantList arguments = message.arguments();
    if (arguments.size() == 3 && arguments[0].toString() == QLatin1String(kNamespace) &&
        arguments[1].toString() == QLatin1String(kKey))
        Q_EMIT changed(schemeOf(arguments[2]));
}

}  // namespace orvane::app
