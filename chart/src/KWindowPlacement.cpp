#include "orvane/chart/KWindowPlacement.h"

#include <algorithm>

namespace orvane::chart {

QRect fitInsideArea(const QRect& frame, const QRect& area) {
    QRect fitted(frame.topLeft(), frame.size().boundedTo(area.size()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() - fitted.height() + 1));
    return fitted;
}

QRect centreInArea(const QRect& frame, const QRect& area) {
    QRect centred(frame);
    centred.moveCenter(area.center());
    return fitInsideArea(centred, area);
}

}  // namespace orvane::chart
