#include "application/QXApplication.h"

#include "mainwindow/QXDocument.h"
#include "platform/QtMainThreadDispatcher.h"
#include "orvane/analysis/QXUtility.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/Log.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/ReferenceUpdate.h"

namespace orvane::app {

QXApplication::QXApplication(std::shared_ptr<QtMainThreadDispatcher> dispatcher, QObject* parent)
    : QObject(parent), dispatcher_(std::move(dispatcher)) {}

QXApplication::~QXApplication() {
    applicationWillTerminate();
}

void QXApplication::applicationWillFinishLaunching() {
    QXUtility::defQXUtility();
    referenceUpdate_ = ReferenceUpdate::create();
    referenceUpdate_->setFinishHandler([this](const ArchiveInstallResult& result) {
        if (!result.installed) {
            ORVANE_LOG("reference data not updated: %s", result.reason.c_str());
            return;
        }
        if (document_ && !terminated_) document_->initMyStocklist();
    });
    referenceUpdate_->preparePlistFiles();
}

bool QXApplication::openMainWindow() {
    document_ = std::make_unique<QXDocument>();
    if (alert_) document_->setAlertPresenter(alert_);
    if (!document_->windowControllerDidLoadNib()) return false;
    document_->show();
    return true;
}

void QXApplication::applicationWillTerminate() {
    if (terminated_) return;
    terminated_ = true;
    if (document_) {
        writePropertyList(dataPath("Setting.plist"),
                          Value(Dictionary{{"searchKey", document_->searchKey().toStdString()}}));
    }
    // Workers may be waiting for the main thread: release them first.
    if (dispatcher_) dispatcher_->shutDown();
    if (document_) document_->shutDown();
}

}  // namespace orvane::app
