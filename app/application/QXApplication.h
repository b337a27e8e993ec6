#pragma once
// The application's life: the launch hook (the analysis engine, the
// reference-data check), the main window and its start-up, and the quit
// hook, which saves "Setting.plist" and stops every worker before the
// window goes away.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace orvane {
class ReferenceUpdate;
}

namespace orvane::app {

class QXDocument;
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
    /// Creates and loads the main window. False when the data server does
    /// not answer: the alert was shown and the application must end.
    bool openMainWindow();
    /// Saves the web-search target and stops the window's workers.
    void applicationWillTerminate();

    QXDocument* document() const { return document_.get(); }
    /// The window's alert panels go here (tests); by default a dialog.
    void setAlertPresenter(std::function<void(const QString&, const QString&)> presenter) {
        alert_ = std::move(presenter);
    }

  private:
    std::shared_ptr<QtMainThreadDispatcher> dispatcher_;
    std::shared_ptr<ReferenceUpdate> referenceUpdate_;
    std::unique_ptr<QXDocument> document_;
    std::function<void(const QString&, const QString&)> alert_;
    bool terminated_ = false;
};

}  // namespace orvane::app
