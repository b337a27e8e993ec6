#include "orvane/chart/KImageButton.h"

#include <QPainter>

namespace orvane::chart {

KImageButton::KImageButton(const QPixmap& image, QWidget* parent)
    : QAbstractButton(parent), image_(image) {
    setFocusPolicy(Qt::NoFocus);
}

void KImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), image_);
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
}

}  // namespace orvane::chart
