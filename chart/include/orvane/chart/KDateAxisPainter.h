#pragma once
// Draws the date axis: a strip under the chart with a tick and a date label
// at each start of a period (KDateAxis), in the chart's own columns.

#include <QFont>
#include <QPainter>
#include <QRectF>

#include "orvane/chart/KChartModel.h"

namespace orvane::chart {

inline constexpr int kDateAxisHeight = 18;

/// The font of the date labels (also the crosshair's date tag).
QFont dateAxisFont();

/// Fills `strip` (widget coordinates, as wide as the chart) and draws the
/// visible days' date labels in it.
void drawDateAxis(QPainter& painter, const KChartModel& model, const QRectF& strip);

}  // namespace orvane::chart
