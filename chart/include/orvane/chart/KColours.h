#pragma once
// The chart's colours.

#include <QColor>

namespace orvane::chart::colours {

inline QColor background() {
    return QColor(0, 0, 0);
}
inline QColor darkGrey() {
    return QColor::fromRgbF(1.0f / 3, 1.0f / 3, 1.0f / 3);
}
inline QColor lightGrey() {
    return QColor::fromRgbF(2.0f / 3, 2.0f / 3, 2.0f / 3);
}
inline QColor red() {
    return QColor(255, 0, 0);
}
inline QColor green() {
    return QColor(0, 255, 0);
}
inline QColor yellow() {
    return QColor(255, 255, 0);
}
inline QColor white() {
    return QColor(255, 255, 255);
}
/// Candles, wicks and volume bars of a rising day.
inline QColor risingDay() {
    return QColor::fromRgbF(0.68f, 0.20f, 0.21f);
}
/// Candles, wicks and volume bars of a falling or unchanged day.
inline QColor fallingDay() {
    return QColor::fromRgbF(0.30f, 0.58f, 0.18f);
}
inline QColor ma5() {
    return white();
}
inline QColor ma10() {
    return yellow();
}
/// A light violet: a darker purple is hard to read as the legend's text on black.
inline QColor ma20() {
    return QColor::fromRgbF(0.8f, 0.3f, 0.9f);
}
/// The date axis's labels.
inline QColor dateText() {
    return lightGrey();
}
/// The day panel: nearly black, so red, green and yellow figures stand out,
/// framed so it stays apart from the black chart behind it.
inline QColor infoPanelBackground() {
    return QColor(12, 12, 20);
}
inline QColor infoPanelBorder() {
    return QColor(150, 150, 150);
}

}  // namespace orvane::chart::colours
