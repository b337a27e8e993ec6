#pragma once
// A private D-Bus session bus for one test: dbus-daemon on a socket in a
// temporary folder, so that fake desktop services (notifications, the
// portal) can own their names without touching the desktop's bus.

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

namespace orvane::test {

class PrivateBus {
  public:
    /// Starts the daemon; address() is empty when it is not installed or did
    /// not start.
    PrivateBus() {
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty()) return;
        QFile config(dir_.filePath("bus.conf"));
        if (!config.open(QIODevice::WriteOnly)) return;
        config.write(
            QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                           "<auth>EXTERNAL</auth><policy context=\"default\">"
                           "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>")
                .arg(dir_.path())
                .toUtf8());
        config.close();
        daemon_.start(daemon,
                      {"--config-file=" + config.fileName(), "--print-address", "--nofork"});
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        daemon_.kill();
        daemon_.waitForFinished();
    }
    const QString& address() const { return address_; }

  private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
};

}  // namespace orvane::test
