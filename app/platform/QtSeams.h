#pragma once
// The desktop application's side of the platform seams, installed in one
// place: the Qt main-thread dispatcher, the workspace, the string table from
// the translation, the progress panel, and the translation itself.
//
//   QApplication application(argc, argv);
//   auto seams = orvane::app::installQtSeams(application);
//   ... seams.progressPanel->setParentWindow(&mainWindow); ...
//   return application.exec();   // `seams` goes before `application`
//
// The data-server addresses are installed separately (ServerPreferences),
// after the command line is read.

#include <memory>

class QApplication;

namespace orvane::app {

class QtMainThreadDispatcher;
class QXProcessUIController;

/// The installed seams. Destroying it (before the QApplication) shuts the
/// dispatcher down and restores the headless defaults, so no widget outlives
/// the application.
class [[nodiscard]] QtSeams {
  public:
    QtSeams(std::shared_ptr<QtMainThreadDispatcher> dispatcher,
            std::shared_ptr<QXProcessUIController> progressPanel, bool translationsLoaded);
    QtSeams(QtSeams&&) = default;
    QtSeams& operator=(QtSeams&&) = delete;
    ~QtSeams();

    /// Shut down on quit (done on aboutToQuit): posted tasks are dropped from
    /// then on and workers waiting for the main thread are released.
    std::shared_ptr<QtMainThreadDispatcher> dispatcher;
    /// The shared progress panel; the main window attaches it with setParentWindow.
    std::shared_ptr<QXProcessUIController> progressPanel;
    /// False when the embedded translation could not be loaded.
    bool translationsLoaded = false;
};

/// Installs every seam and registers the application's resources (app.qrc);
/// call on the main thread right after creating the application.
QtSeams installQtSeams(QApplication& application);

/// Registers app.qrc (":/app/..."): the resources of a static library are
/// only linked in when something asks for them. Done by installQtSeams.
void initAppResources();

}  // namespace orvane::app
