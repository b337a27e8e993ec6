#include "orvane/chart/KChartPainter.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLineF>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <vector>

#include "orvane/chart/KColours.h"

namespace orvane::chart {

namespace {

QPen solidPen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

QFont priceLabelFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(10);
    return font;
}

}  // namespace

KChartPainter::KChartPainter(QPainter& painter, KChartModel& model)
    : painter_(painter), model_(model), w_(model.viewWidth()), h_(model.viewHeight()) {}

void KChartPainter::drawRect() {
    painter_.save();
    painter_.fillRect(QRectF(0, 0, w_, h_), colours::background());
    painter_.setRenderHint(QPainter::Antialiasing, false);
    // The chart's space: origin bottom-left, y up, shifted by half a pixel.
    painter_.translate(0.5, h_ - 0.5);
    painter_.scale(1, -1);
    drawSeparatorLine();
    drawPriceLines();
    drawSections();
    painter_.restore();
}

void KChartPainter::drawSeparatorLine() {
    painter_.setPen(solidPen(colours::darkGrey(), 2));
    painter_.drawLine(QPointF(0, kVolumeBandHeight), QPointF(w_, kVolumeBandHeight));
    painter_.drawLine(QPointF(w_ - kPriceScaleWidth, 0), QPointF(w_ - kPriceScaleWidth, h_));
}

void KChartPainter::drawCurveLine(QPointF from, QPointF to) {
    QPen pen = solidPen(colours::darkGrey(), 1);
    pen.setDashPattern({3, 2});
    pen.setDashOffset(0);
    painter_.setPen(pen);
    painter_.drawLine(from, to);
}

void KChartPainter::drawText(const QString& text, QPointF p) {
    const QPointF at = painter_.transform().map(p);
    painter_.save();
    painter_.resetTransform();
    painter_.setFont(priceLabelFont());
    painter_.setPen(colours::red());
    const QFontMetricsF metrics(painter_.font());
    // The text's line box stands on `at`: its baseline a descent above it.
    painter_.drawText(QPointF(at.x(), at.y() - metrics.descent()), text);
    painter_.restore();
}

void KChartPainter::drawPriceLines() {
    const KChartScale s = model_.scale();
    const float rangeY = model_.currentSectionRangeY();
    // Without a visible day there is no price to label: the scale still
    // holds its starting values (0 above 10000).
    const bool labelled = model_.visibleCount() > 0;
    for (int i = 0; i <= 10; ++i) {
        const float y = (rangeY / 10.0f) * static_cast<float>(i) + kVolumeBandHeight;
        drawCurveLine(QPointF(0, y), QPointF(w_ - kPriceScaleWidth, y));
        if (!labelled) continue;
        const float price = static_cast<float>(i) * ((s.top - s.bottom) / 10.0f) + s.bottom;
        // Labels hang 5 pixels below their line, except the lowest.
        drawText(QString::fromStdString(priceLabelText(price)),
                 QPointF(w_ - 38, i == 0 ? y : y - 5));
    }
}

void KChartPainter::drawSections() {
    model_.layoutSections();
    const int n = model_.visibleCount();
    if (n == 0) return;
    const KChartScale s = model_.scale();
    const int start = model_.visibleStart();
    const auto& days = model_.dataList();
    const auto width = static_cast<float>(s.sectionWidth);

    // Shapes are gathered by colour and drawn in a few calls: far cheaper
    // than one call per shape with a thousand candles. Average segments go
    // last, over the candles.
    struct Shapes {
        std::vector<QRectF> rects;  // bodies and volume bars, filled and outlined
        std::vector<QLineF> wicks;
    } rising, falling;
    std::vector<QLineF> averages[3];
    std::vector<QLineF> volumeAverages[2];  // MA5 and MA10 of the volume
    const auto& indicators = model_.indicatorValues();
    rising.rects.reserve(2 * n);
    rising.wicks.reserve(2 * n);
    falling.rects.reserve(2 * n);
    falling.wicks.reserve(2 * n);

    for (int c = 0; c < n; ++c) {
        const KSection& day = days[start + c];
        Shapes& shapes = day.closePrice > day.openPrice ? rising : falling;
        const KRect& body = day.sectionRect;
        if (!body.isZero()) {
            shapes.rects.emplace_back(body.x, body.y, body.width, body.height);
            const float centre = s.centre(c);
            shapes.wicks.emplace_back(QPointF(centre, body.top()),
                                      QPointF(centre, s.y(day.highPrice)));
            shapes.wicks.emplace_back(QPointF(centre, body.y), QPointF(centre, s.y(day.lowPrice)));
        }
        if (s.topVolume != 0)
            shapes.rects.emplace_back(s.x(c), 0, width, s.volumeHeight(day.volume));

        if (c >= 1 && s.topVolume != 0) {
            const KIndicatorValues& before = indicators[static_cast<std::size_t>(start + c - 1)];
            const KIndicatorValues& now = indicators[static_cast<std::size_t>(start + c)];
            const float a[2] = {before.volumeMa5, before.volumeMa10};
            const float b[2] = {now.volumeMa5, now.volumeMa10};
            for (int k = 0; k < 2; ++k)
                if (a[k] > 0 && b[k] > 0)
                    volumeAverages[k].emplace_back(QPointF(s.centre(c - 1), s.volumeHeight(a[k])),
                                                   QPointF(s.centre(c), s.volumeHeight(b[k])));
        }
        if (c >= 1 && !s.isFlat()) {
            const KSection& previous = days[start + c - 1];
            const float before[3] = {previous.ma5, previous.ma10, previous.ma20};
            const float now[3] = {day.ma5, day.ma10, day.ma20};
            for (int k = 0; k < 3; ++k) {
                const float a = before[k];
                const float b = now[k];
                if (!(a > 0 && b > 0)) continue;
                const float ya = s.y(a);
                const float yb = s.y(b);
                if (!(ya >= kVolumeBandHeight && yb >= kVolumeBandHeight)) continue;
                averages[k].emplace_back(QPointF(s.centre(c - 1), ya), QPointF(s.centre(c), yb));
            }
        }
    }

    // A body or bar outlined with a 1-pixel pen and filled covers its
    // rectangle grown by half a pixel on every side, and a flat-capped wick
    // of width 1 a rectangle one pixel wide: filling those rectangles draws
    // the same pixels on Qt's fast path for axis-aligned fills.
    const auto drawShapes = [this](const Shapes& shapes, const QColor& colour) {
        for (const QRectF& r : shapes.rects)
            painter_.fillRect(r.adjusted(-0.5, -0.5, 0.5, 0.5), colour);
        for (const QLineF& l : shapes.wicks)
            painter_.fillRect(
                QRectF(l.x1() - 0.5, std::min(l.y1(), l.y2()), 1, std::abs(l.y2() - l.y1())),
                colour);
    };
    drawShapes(falling, colours::fallingDay());
    drawShapes(rising, colours::risingDay());
    painter_.setBrush(Qt::NoBrush);
    // Candles stay crisp on the pixel grid; only the curves are smoothed.
    painter_.setRenderHint(QPainter::Antialiasing, true);
    const QColor averageColours[3] = {colours::ma5(), colours::ma10(), colours::ma20()};
    painter_.save();
    painter_.setClipRect(QRectF(0, 0, model_.currentSectionRangeX(), kVolumeBandHeight - 1));
    for (int k = 0; k < 2; ++k) {
        painter_.setPen(solidPen(averageColours[k], 1));
        painter_.drawLines(volumeAverages[k].data(), static_cast<int>(volumeAverages[k].size()));
    }
    painter_.restore();
    // An average of older, higher prices can stand above the visible range:
    // its lines stop at the top of the price area instead of crossing the
    // margin above it.
    painter_.save();
    painter_.setClipRect(
        QRectF(0, kVolumeBandHeight, model_.currentSectionRangeX(), model_.currentSectionRangeY()));
    for (int k = 0; k < 3; ++k) {
        painter_.setPen(solidPen(averageColours[k], 1));
        painter_.drawLines(averages[k].data(), static_cast<int>(averages[k].size()));
    }
    painter_.restore();
}

}  // namespace orvane::chart
