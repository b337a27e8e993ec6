#include "orvane/chart/KAverageView.h"

#include <QFontDatabase>
#include <QPainter>

#include "orvane/chart/KColours.h"

namespace orvane::chart {

namespace {

QColor lineColour(KAverage average) {
    switch (average) {
        case KAverage::MA5:
            return colours::ma5();
        case KAverage::MA10:
            return colours::ma10();
        case KAverage::MA20:
            break;
    }
    return colours::ma20();
}

}  // namespace

KAverageView::KAverageView(const KChartModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    // The chart shows through: only the texts are drawn.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(12);
    setFont(font);
}

std::vector<KAverageText> KAverageView::texts() const {
    const int day = legendDayOf(model_);
    if (day < 0) return {};
    const auto texts = averageTextsFor(model_.dataList()[static_cast<std::size_t>(day)]);
    return {texts.begin(), texts.end()};
}

void KAverageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int gap = metrics.horizontalAdvance(QStringLiteral("  "));
    int x = 0;
    for (const KAverageText& t : texts()) {
        const QString text = QString::fromStdString(t.text);
        painter.setPen(lineColour(t.average));
        painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter,
                         text);
        x += metrics.horizontalAdvance(text) + gap;
    }
}

}  // namespace orvane::chart
