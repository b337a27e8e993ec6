#include "platform/QtSeams.h"

#include <QApplication>

#include "platform/QXProcessUIController.h"
#include "platform/QtMainThreadDispatcher.h"
#include "platform/QtStringTable.h"
#include "platform/QtWorkspace.h"
#include "platform/Translations.h"
#include "orvane/core/Log.h"

// Q_INIT_RESOURCE names a global function: it cannot be used inside a namespace.
static void registerAppQrc() {
    Q_INIT_RESOURCE(app);
}

namespace orvane::app {

void initAppResources() {
    registerAppQrc();
}

QtSeams::QtSeams(std::shared_ptr<QtMainThreadDispatcher> dispatcher,
                 std::shared_ptr<QXProcessUIController> progressPanel, bool translationsLoaded)
    : dispatcher(std::move(dispatcher)),
      progressPanel(std::move(progressPanel)),
      translationsLoaded(translationsLoaded) {}

QtSeams::~QtSeams() {
    if (!dispatcher) return;  // moved from
    dispatcher->shutDown();
    ProgressPanel::install(nullptr);
    StringTable::install(nullptr);
    Workspace::install(nullptr);
    MainThreadDispatcher::install(nullptr);
}

QtSeams installQtSeams(QApplication& application) {
    initAppResources();
    auto dispatcher = std::make_shared<QtMainThreadDispatcher>(&application);
    MainThreadDispatcher::install(dispatcher);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &application,
                     [weak = std::weak_ptr(dispatcher)] {
                         if (auto d = weak.lock()) d->shutDown();
                     });

    const bool translated = installTranslations(application);
    if (!translated) ORVANE_LOG("the translation %s is missing", "orvane_zh_CN.qm");
    StringTable::install(std::make_shared<QtStringTable>());
    Workspace::install(std::make_shared<QtWorkspace>());
    auto progressPanel = QXProcessUIController::create();
    ProgressPanel::install(progressPanel);
    return QtSeams(std::move(dispatcher), std::move(progressPanel), translated);
}

}  // namespace orvane::app
