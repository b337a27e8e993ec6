#include "orvane/chart/KImageButton.h"

#include <QPainter>
#include <algorithm>

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
        // A title longer than the button ends in "…" rather than spilling over.
        const QString shown =
            painter.fontMetrics().elidedText(text(), Qt::ElideRight, std::max(width() - 4, 0));
        painter.drawText(rect(), Qt::AlignCenter, shown);
    }
}

}  // namespace orvane::chart
