#include "orvane/chart/KWindow.h"

#include <QCloseEvent>
#include <QResizeEvent>

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

}  // namespace orvane::chart
