#include "application/QXApplication.h"

#include <QMessageBox>
#include <QPushButton>

#include "alerts/NotificationPanelController.h"
#include "application/EmbeddedDemoServer.h"
#include "application/SettingsFile.h"
#include "gallery/QXTrendMode.h"
#include "mainwindow/QXDocument.h"
#include "mainwindow/StatusLine.h"
#include "marketimport/ImportedMarket.h"
#include "marketimport/MarketImportDialog.h"
#include "orvane/analysis/QXUtility.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/FileWrites.h"
#include "orvane/core/Log.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ReferenceUpdate.h"
#include "platform/AppearanceSwitch.h"
#include "platform/DesktopColourScheme.h"
#include "platform/QtMainThreadDispatcher.h"

namespace orvane::app {

namespace {

UnreachableChoice askWithDialog(const UnreachableAlert& alert) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(alert.title),
                    QString::fromStdString(alert.message));
    std::vector<QPushButton*> buttons;
    for (const char* title : kUnreachableChoiceTitles)
        buttons.push_back(box.addButton(QString::fromUtf8(title), QMessageBox::ActionRole));
    box.setDefaultButton(buttons.front());
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return static_cast<UnreachableChoice>(i);
    return UnreachableChoice::Quit;  // the dialog was closed
}

}  // namespace

QXApplication::QXApplication(std::shared_ptr<QtMainThreadDispatcher> dispatcher, QObject* parent)
    : QObject(parent),
      dispatcher_(std::move(dispatcher)),
      notificationPanel_(std::make_unique<NotificationPanelController>()),
      gallery_(std::make_unique<QXTrendMode>()),
      appearance_(std::make_unique<AppearanceSwitch>(std::make_unique<DesktopColourScheme>())),
      importedMarket_(std::make_unique<ImportedMarket>(importedTreePath())),
      askUnreachable_(askWithDialog) {
    connect(importedMarket_.get(), &ImportedMarket::marketSwitched, this,
            &QXApplication::showSwitchedMarket);
    connect(importedMarket_.get(), &ImportedMarket::importEnded, this,
            [this](const ImportOutcome& outcome, bool background) {
                if (!background || !document_ || terminated_ ||
                    outcome.result != ImportOutcome::Result::Published)
                    return;
                document_->statusLine().showStatus("行情文件夹有新数据，已重新导入 " +
                                                   std::to_string(outcome.stocks) + " 只股票");
            });
}

QXApplication::~QXApplication() {
    applicationWillTerminate();
}

void QXApplication::applicationWillFinishLaunching() {
    QXUtility::defQXUtility();
    checkReferenceData();
}

void QXApplication::checkReferenceData() {
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
    document_ = std::make_unique<QXDocument>(
        WindowServices{notificationPanel_.get(), gallery_.get(), appearance_.get()});
    if (alert_) document_->setAlertPresenter(alert_);
    if (openSettings_) document_->setServerSettingsOpener(openSettings_);
    document_->setMarketImportOpener([this] { openMarketImport(); });
    bool asked = false;
    const DataServerCheck check{
        .problem = [] { return dataServerProblem(5); },
        .server = [] { return MarketServers::shared()->dataServer; },
        .ask =
            [this, &asked](const UnreachableAlert& alert) {
                asked = true;
                return askUnreachable_(alert);
            },
        .openSettings =
            [this] {
                if (openSettings_) openSettings_();
            },
        .startDemo =
            [this] {
                if (!demo_) demo_ = std::make_unique<EmbeddedDemoServer>();
                return demo_->start();
            },
    };
    const auto serverReady = [&] {
        if (!ensureDataServer(check)) return false;
        // The launch's reference check met no server: the one that answers
        // now (another address, the demo) brings the code table and sectors,
        // which the market report waits for.
        if (asked) checkReferenceData();
        return true;
    };
    if (!document_->windowControllerDidLoadNib(serverReady)) return false;
    document_->show();
    // Asked for, not left to the window manager: after the start-up alert
    // the keyboard would otherwise stay with no window, and a window that
    // was never activated takes typed text but none of its shortcuts.
    document_->raise();
    document_->activateWindow();
    // The imported market's folder may have new days since it was published.
    if (servingImport_) importedMarket_->refreshWhenNewer();
    return true;
}

bool QXApplication::serveImportedMarket() {
    servingImport_ = importedMarket_->serveRemembered();
    return servingImport_;
}

void QXApplication::openMarketImport() {
    if (!document_) return;
    if (!importDialog_) importDialog_ = new MarketImportDialog(*importedMarket_, document_.get());
    importDialog_->show();
    importDialog_->raise();
    importDialog_->activateWindow();
}

void QXApplication::showSwitchedMarket() {
    if (!document_ || terminated_) return;
    checkReferenceData();
    document_->recomputeMarketReport();
    const std::string code = document_->shownStock().code();
    if (!code.empty()) document_->downloadOneStockData(code);
}

void QXApplication::applicationWillTerminate() {
    if (terminated_) return;
    terminated_ = true;
    // At quit there is no one to ask: a failed save is logged, and the old
    // settings stay whole for the next start.
    if (document_ && !saveSettings(document_->searchKey().toStdString()))
        spdlog::error("the settings were not saved: {}", lastWriteFailureText("Setting.plist"));
    // Workers may be waiting for the main thread: release them first.
    if (dispatcher_) dispatcher_->shutDown();
    if (document_) document_->shutDown();
    importedMarket_->shutDown();
    if (demo_) demo_->stop();
}

}  // namespace orvane::app
