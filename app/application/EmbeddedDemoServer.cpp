#include "application/EmbeddedDemoServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUrl>

#include "orvane/market/MarketServers.h"
#include "platform/ServerPreferences.h"

namespace orvane::app {

EmbeddedDemoServer::EmbeddedDemoServer(QObject* parent) : QObject(parent) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardOutputFile(QProcess::nullDevice());
}

EmbeddedDemoServer::~EmbeddedDemoServer() {
    stop();
}

bool EmbeddedDemoServer::start(int waitSeconds) {
    const ServerAddresses demo = ServerPreferences::defaults();
    if (process_.state() == QProcess::NotRunning) {
        const QString program = QCoreApplication::applicationDirPath() + "/orvane-server";
        const int port = QUrl(demo.dataServer).port(80);
        process_.start(program,
                       {QStringLiteral("demo"), QStringLiteral("--port"), QString::number(port)});
        if (!process_.waitForStarted(5000)) {
            error_ = "cannot start " + program.toStdString() + ": " +
                     process_.errorString().toStdString();
            return false;
        }
    }
    MarketServers::install(std::make_shared<MarketServers>(demo.dataServer.toStdString(),
                                                           demo.quoteServer.toStdString()));
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < waitSeconds * 1000) {
        if (!dataServerProblem(1)) return true;
        if (process_.state() == QProcess::NotRunning) {
            error_ = "the demo server ended at start";
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 300);
    }
    error_ = "the demo server does not answer";
    return false;
}

void EmbeddedDemoServer::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    process_.waitForFinished(2000);
}

}  // namespace orvane::app
