#include "orvane/chart/KIndicatorPainter.h"

#include <QLineF>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <vector>

#include "orvane/chart/KColours.h"
#include "orvane/chart/KIndicatorPanel.h"

namespace orvane::chart {

namespace {

void drawDashedLevel(QPainter& painter, const QRectF& plot, qreal y) {
    QPen pen(colours::darkGrey(), 1);
    pen.setDashPattern({3, 2});
    painter.setPen(pen);
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
}

}  // namespace

void drawIndicatorPanel(QPainter& painter, const KChartModel& model, const QRectF& panel) {
    painter.save();
    painter.fillRect(panel, colours::background());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colours::darkGrey(), 2));
    painter.drawLine(QPointF(panel.left(), panel.top() + 1),
                     QPointF(panel.right(), panel.top() + 1));
    const qreal plotWidth = model.currentSectionRangeX();
    painter.drawLine(QPointF(panel.left() + plotWidth + 0.5, panel.top()),
                     QPointF(panel.left() + plotWidth + 0.5, panel.bottom()));

    const QRectF plot(panel.left(), panel.top() + kIndicatorLegendHeight, plotWidth,
                      panel.height() - kIndicatorLegendHeight - 2);
    const KIndicatorScale s = indicatorScaleOf(model, static_cast<float>(plot.height()));
    const auto yOf = [&](float value) { return plot.bottom() - s.y(value); };
    const bool macd = model.indicator() == KIndicator::MACD;
    if (macd) {
        drawDashedLevel(painter, plot, yOf(0));
    } else {
        for (const float level : {20.0f, 50.0f, 80.0f}) drawDashedLevel(painter, plot, yOf(level));
    }

    const int n = model.visibleCount();
    const int start = model.visibleStart();
    const KChartScale columns = model.scale();
    const auto& values = model.indicatorValues();
    std::vector<QLineF> curves[3];
    for (auto& curve : curves) curve.reserve(static_cast<std::size_t>(n));
    const qreal zero = yOf(0);
    for (int c = 0; c < n; ++c) {
        const KIndicatorValues& v = values[static_cast<std::size_t>(start + c)];
        const qreal x = panel.left() + columns.centre(c) + 0.5;
        if (macd) {
            // A bar one pixel wide from the zero line, red above it, green below.
            const qreal y = yOf(v.macd);
            painter.fillRect(QRectF(x - 0.5, std::min(y, zero), 1, std::abs(y - zero) + 1),
                             v.macd >= 0 ? colours::red() : colours::green());
        }
        if (c == 0) continue;
        const KIndicatorValues& p = values[static_cast<std::size_t>(start + c - 1)];
        const qreal px = panel.left() + columns.centre(c - 1) + 0.5;
        const float now[3] = {macd ? v.dif : v.k, macd ? v.dea : v.d, v.j};
        const float before[3] = {macd ? p.dif : p.k, macd ? p.dea : p.d, p.j};
        for (int k = 0; k < (macd ? 2 : 3); ++k)
            curves[k].emplace_back(QPointF(px, yOf(before[k])), QPointF(x, yOf(now[k])));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(plot);
    const QColor curveColours[3] = {colours::ma5(), colours::ma10(), colours::ma20()};
    for (int k = 0; k < 3; ++k) {
        painter.setPen(QPen(curveColours[k], 1));
        painter.drawLines(curves[k].data(), static_cast<int>(curves[k].size()));
    }
    painter.restore();
}

}  // namespace orvane::chart
