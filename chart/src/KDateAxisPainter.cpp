#include "orvane/chart/KDateAxisPainter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <cmath>

#include "orvane/chart/KColours.h"
#include "orvane/chart/KDateAxis.h"

namespace orvane::chart {

QFont dateAxisFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(11);
    return font;
}

void drawDateAxis(QPainter& painter, const KChartModel& model, const QRectF& strip) {
    painter.save();
    painter.fillRect(strip, colours::background());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(colours::darkGrey());
    painter.drawLine(QPointF(strip.left(), strip.top() + 0.5),
                     QPointF(strip.right(), strip.top() + 0.5));

    const QFont font = dateAxisFont();
    const QFontMetricsF metrics(font);
    const auto width = [&metrics](std::string_view text) {
        return static_cast<float>(metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<int>(text.size()))));
    };
    painter.setFont(font);
    for (const KDateTick& tick : dateAxisTicks(model, width, static_cast<float>(strip.width()))) {
        const qreal x = strip.left() + std::floor(tick.x) + 0.5;
        painter.setPen(colours::darkGrey());
        painter.drawLine(QPointF(x, strip.top() + 1), QPointF(x, strip.top() + 5));
        painter.setPen(colours::dateText());
        painter.drawText(QRectF(x + 2, strip.top() + 1, strip.width(), strip.height() - 1),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(tick.text));
    }
    painter.restore();
}

}  // namespace orvane::chart
