#pragma once
// Keeping a window on its screen: a frame (the window with its title bar and
// borders) moved and, if need be, shrunk so that it lies inside an area,
// usually the screen's available geometry (the screen less panels and docks).

#include <QRect>

namespace orvane::chart {

/// `frame` shrunk to at most the area's size and moved the least distance
/// that puts it inside `area`.
QRect fitInsideArea(const QRect& frame, const QRect& area);

/// `frame` of the same size centred on `area`, then fitted inside it.
QRect centreInArea(const QRect& frame, const QRect& area);

}  // namespace orvane::chart
