#pragma once
// Draws the indicator panel under the volume band: MACD's bars and its DIF
// and DEA curves about a zero line, or KDJ's three curves over dashed lines
// at 20, 50 and 80, in the chart's own columns. The legend naming the values
// is a child widget of the view (KLegendView), since it follows the crosshair.

#include <QPainter>
#include <QRectF>

#include "orvane/chart/KChartModel.h"

namespace orvane::chart {

/// Fills `panel` (widget coordinates, as wide as the chart, kIndicatorPanelHeight
/// high) and draws the visible candles' indicator.
void drawIndicatorPanel(QPainter& painter, const KChartModel& model, const QRectF& panel);

}  // namespace orvane::chart
