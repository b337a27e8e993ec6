#include "platform/QtWorkspace.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "orvane/core/Log.h"
#include "orvane/core/MainThreadDispatcher.h"

namespace orvane::app {

namespace {

// QDesktopServices belongs to the main thread; a worker's request is handed
// over and answered there.
bool openOnMainThread(const QUrl& url) {
    bool opened = false;
    MainThreadDispatcher::shared()->invokeAndWait([&] { opened = QDesktopServices::openUrl(url); });
    if (!opened) ORVANE_LOG("cannot open %s", url.toString().toUtf8().constData());
    return opened;
}

}  // namespace

bool QtWorkspace::openFile(const std::filesystem::path& path) {
    return openOnMainThread(QUrl::fromLocalFile(QString::fromStdString(path.string())));
}

bool QtWorkspace::openURL(const std::string& url) {
    const QUrl parsed(QString::fromStdString(url), QUrl::TolerantMode);
    if (!parsed.isValid()) {
        ORVANE_LOG("not an address: %s", url.c_str());
        return false;
    }
    return openOnMainThread(parsed);
}

}  // namespace orvane::app
