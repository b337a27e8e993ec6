#include "keyboard/KeyboardWizard.h"

#include <QApplication>
#include <QKeyEvent>

#include "keyboard/StockWizard.h"
#include "keyboard/TypedKeys.h"

namespace orvane::app {

KeyboardWizard::KeyboardWizard(StockCompletions& completions, QObject* parent)
    : QObject(parent), completions_(completions) {
    qApp->installEventFilter(this);
}

KeyboardWizard::~KeyboardWizard() {
    qApp->removeEventFilter(this);
}

void KeyboardWizard::attach(QWidget* window, Chooser chosen) {
    if (!window || wizardOf(window)) return;
    auto* wizard = new StockWizard(completions_, window);
    connect(wizard, &StockWizard::stockChosen, this,
            [chosen = std::move(chosen)](const QString& code) { chosen(code.toStdString()); });
    windows_.push_back({window, wizard});
}

StockWizard* KeyboardWizard::wizardOf(const QWidget* window) const {
    for (const Attached& a : windows_)
        if (a.window == window) return a.wizard;
    return nullptr;
}

bool KeyboardWizard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Each key reaches the focus widget first and then, unused, its parents:
    // only the first delivery counts.
    if (QApplication::focusWidget() && widget != QApplication::focusWidget() &&
        widget->isAncestorOf(QApplication::focusWidget()))
        return false;
    StockWizard* wizard = wizardOf(widget->window());
    if (!wizard || takesTypedText(widget)) return false;
    const QString typed = wizardStartText(*static_cast<QKeyEvent*>(event));
    if (typed.isEmpty()) return false;
    wizard->open(typed);
    return true;
}

}  // namespace orvane::app
