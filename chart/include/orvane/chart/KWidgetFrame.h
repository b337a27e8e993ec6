#pragma once
// Child frames given in the chart's coordinates (origin bottom-left, y up)
// turned into widget geometry (origin top-left, y down).

#include <QRect>

#include "orvane/chart/KGeometry.h"

namespace orvane::chart {

/// The widget rectangle of `frame` inside a parent `parentHeight` pixels high;
/// edges are rounded to whole pixels.
QRect toWidgetRect(const KRect& frame, int parentHeight);

}  // namespace orvane::chart
