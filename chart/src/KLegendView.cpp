#include "orvane/chart/KLegendView.h"

#include <QFontDatabase>
#include <QPainter>

#include "orvane/chart/KColours.h"

namespace orvane::chart {

namespace {

QColor legendColour(KLegendColour colour) {
    switch (colour) {
        case KLegendColour::First:
            return colours::ma5();
        case KLegendColour::Second:
            return colours::ma10();
        case KLegendColour::Third:
            return colours::ma20();
        case KLegendColour::Title:
            break;
    }
    return colours::lightGrey();
}

}  // namespace

KLegendView::KLegendView(Texts texts, QWidget* parent) : QWidget(parent), texts_(std::move(texts)) {
    // The chart shows through: only the texts are drawn.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(11);
    setFont(font);
}

void KLegendView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int gap = metrics.horizontalAdvance(QStringLiteral("  "));
    int x = 0;
    for (const KLegendText& t : texts()) {
        const QString text = QString::fromStdString(t.text);
        painter.setPen(legendColour(t.colour));
        painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter,
                         text);
        x += metrics.horizontalAdvance(text) + gap;
    }
}

}  // namespace orvane::chart
