#include "orvane/chart/KWidgetFrame.h"

#include <cmath>

namespace orvane::chart {

QRect toWidgetRect(const KRect& frame, int parentHeight) {
    const long left = std::lround(std::floor(frame.x));
    const long right = std::lround(std::floor(frame.x + frame.width));
    const long top = std::lround(static_cast<float>(parentHeight) - frame.top());
    const long bottom = std::lround(static_cast<float>(parentHeight) - frame.y);
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

}  // namespace orvane::chart
