#include "keyboard/ChartKeys.h"

#include <QAction>
#include <QWidget>

namespace orvane::app {

ChartKeys::ChartKeys(QWidget* chartWindow, std::function<void(const std::string& code)> openChart,
                     std::function<void()> showMainWindow)
    : QObject(chartWindow), openChart_(std::move(openChart)) {
    const auto addKey = [chartWindow](const QString& name, QKeySequence key,
                                      std::function<void()> run) {
        auto* action = new QAction(name, chartWindow);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        chartWindow->addAction(action);
        connect(action, &QAction::triggered, chartWindow, std::move(run));
    };
    addKey(QStringLiteral("上一只"), Qt::Key_PageUp, [this] { browse(BrowseStep::Previous); });
    addKey(QStringLiteral("下一只"), Qt::Key_PageDown, [this] { browse(BrowseStep::Next); });
    addKey(QStringLiteral("第一只"), Qt::Key_Home, [this] { browse(BrowseStep::First); });
    addKey(QStringLiteral("最后一只"), Qt::Key_End, [this] { browse(BrowseStep::Last); });
    addKey(QStringLiteral("主窗口"), Qt::Key_F5, std::move(showMainWindow));
}

void ChartKeys::chartOpened(const std::string& code, const std::vector<std::string>& list) {
    list_.opened(code, list);
}

void ChartKeys::browse(BrowseStep step) {
    if (const auto code = list_.step(step)) openChart_(*code);
}

}  // namespace orvane::app
