#pragma once
// The application's life: the launch hook (the analysis engine, the
// reference-data check), the main window and its start-up, and the quit
// hook, which saves "Setting.plist" and stops every worker before the
// window goes away.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "application/DataServerCheck.h"

namespace orvane {
class ReferenceUpdate;
}

namespace orvane::app {

class AppearanceSwitch;
class EmbeddedDemoServer;
class ImportedMarket;
class MarketImportDialog;
class NotificationPanelController;
class QXDocument;
class QXTrendMode;
class QtMainThreadDispatcher;

class QXApplication : public QObject {
    Q_OBJECT
  public:
    /// `dispatcher` is the main-thread dispatcher the application installed;
    /// it is shut down on quit, so no worker waits for the main thread then.
    explicit QXApplication(std::shared_ptr<QtMainThreadDispatcher> dispatcher,
                           QObject* parent = nullptr);
    ~QXApplication() override;

    /// Creates the engine and runs the reference-data check (at most its
    /// time-out; an archive download goes on in the background and, once
    /// installed, refreshes the window's lists).
    void applicationWillFinishLaunching();
    /// Creates and loads the main window. When the data server does not
    /// answer, the user chooses: try again, the server settings, the demo
    /// market, or quit (false: the application must end).
    bool openMainWindow();
    /// Saves the web-search target and stops the window's workers.
    void applicationWillTerminate();
    /// At start, before the main window: the market the user imported, when
    /// there is one, served in process and made the program's data server
    /// (false: the servers stay as the preferences say).
    bool serveImportedMarket();
    /// 文件 › 导入本地行情…
    void openMarketImport();
    ImportedMarket& importedMarket() const { return *importedMarket_; }
    MarketImportDialog* marketImportDialog() const { return importDialog_; }

    QXDocument* document() const { return document_.get(); }
    /// The sliding alert panel and the model gallery, one each for the
    /// application's life.
    NotificationPanelController& notificationPanel() const { return *notificationPanel_; }
    QXTrendMode& gallery() const { return *gallery_; }
    /// The look of every window (外观), as chosen or as the desktop states.
    AppearanceSwitch& appearance() const { return *appearance_; }
    /// What "数据服务器…" opens (also from the start-up alert).
    void setServerSettingsOpener(std::function<void()> opener) {
        openSettings_ = std::move(opener);
    }
    /// The start-up alert's choice; by default a dialog with four buttons.
    void setUnreachablePresenter(std::function<UnreachableChoice(const UnreachableAlert&)> ask) {
        askUnreachable_ = std::move(ask);
    }
    /// The window's alert panels go here (tests); by default a dialog.
    void setAlertPresenter(std::function<void(const QString&, const QString&)> presenter) {
        alert_ = std::move(presenter);
    }

  private:
    /// The reference-data check: the version, and the archive downloaded and
    /// installed in the background when newer (the window's lists follow).
    void checkReferenceData();
    /// The window on a newly published market: its reference data and the
    /// shown stock fetched again.
    void showSwitchedMarket();

    std::shared_ptr<QtMainThreadDispatcher> dispatcher_;
    std::shared_ptr<ReferenceUpdate> referenceUpdate_;
    std::unique_ptr<NotificationPanelController> notificationPanel_;
    std::unique_ptr<QXTrendMode> gallery_;
    std::unique_ptr<AppearanceSwitch> appearance_;
    std::unique_ptr<EmbeddedDemoServer> demo_;
    std::unique_ptr<ImportedMarket> importedMarket_;
    MarketImportDialog* importDialog_ = nullptr;  // owned by the window
    bool servingImport_ = false;
    std::unique_ptr<QXDocument> document_;
    std::function<void()> openSettings_;
    std::function<UnreachableChoice(const UnreachableAlert&)> askUnreachable_;
    std::function<void(const QString&, const QString&)> alert_;
    bool terminated_ = false;
};

}  // namespace orvane::app
