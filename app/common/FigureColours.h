#pragma once
// The program's colours as Qt's: every text colour passes the colour
// scheme's table on its way (toQColor), so a dark window shows each in its
// readable counterpart; and the colour of a return in the back-test
// window's tables: rising red and falling green as the price fields show
// them, black for none.

#include <QColor>
#include <cmath>

#include "common/ColourScheme.h"
#include "mainwindow/VerdictDisplay.h"

namespace orvane::app {

/// The colour exactly as given, with no scheme applied.
inline QColor toPlainQColor(const Rgb& c) {
    return QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                            static_cast<float>(c.blue));
}

inline Rgb toRgb(const QColor& c) {
    return {c.redF(), c.greenF(), c.blueF()};
}

/// A text colour as the scheme shown now draws it.
inline QColor toQColor(const Rgb& c) {
    return toPlainQColor(readableColour(c, shownColourScheme()));
}

inline QColor figureColour(double fraction) {
    if (std::isnan(fraction) || fraction == 0) return toQColor(colours::black);
    return toQColor(fraction > 0 ? colours::risingRed : colours::fallingGreen);
}

}  // namespace orvane::app
