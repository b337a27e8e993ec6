#pragma once
// The colour of a return in the back-test window's tables: rising red and
// falling green as the price fields show them, black for none.

#include <QColor>
#include <cmath>

#include "mainwindow/VerdictDisplay.h"

namespace orvane::app {

inline QColor toQColor(const Rgb& c) {
    return QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                            static_cast<float>(c.blue));
}

inline QColor figureColour(double fraction) {
    if (std::isnan(fraction) || fraction == 0) return toQColor(colours::black);
    return toQColor(fraction > 0 ? colours::risingRed : colours::fallingGreen);
}

}  // namespace orvane::app
