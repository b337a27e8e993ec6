#include "orvane/chart/KWindow.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>

#include "orvane/chart/KWindowPlacement.h"

#include "ui_KLineWindow.h"

namespace orvane::chart {

KWindow::KWindow(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::KLineWindow>()) {
    ui_->setupUi(this);
    // Minimise but no maximise button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

KWindow::~KWindow() = default;

void KWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}

void KWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized(event->size());
}

void KWindow::showEvent(QShowEvent* event) {
    // Shown by the program, not uncovered by the window system.
    if (!event->spontaneous()) keepInsideScreen();
    QWidget::showEvent(event);
}

void KWindow::keepInsideScreen() {
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // Title bar and borders, as far as the window system has told them yet.
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    // A position given by the program, or the user's from an earlier showing,
    // is kept as far as it fits; otherwise the window comes up in the middle.
    const bool positioned = placed_ || testAttribute(Qt::WA_Moved);
    const QRect fitted = positioned ? fitInsideArea(outer, area) : centreInArea(outer, area);
    placed_ = true;
    const QRect wanted = fitted.marginsRemoved(frame);
    if (wanted != inner) setGeometry(wanted);
}

}  // namespace orvane::chart
