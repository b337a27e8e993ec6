#pragma once
// Colours of the window's texts: the program's colour records turned into
// Qt colours and set on a label or field.

#include <QColor>
#include <QWidget>

#include "mainwindow/VerdictDisplay.h"

namespace orvane::app {

inline QColor toQColor(const Rgb& c) {
    return QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                            static_cast<float>(c.blue));
}

/// The text colour of a label or a line edit.
inline void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

/// Back to the palette's own text colour.
inline void resetTextColour(QWidget* w) {
    w->setPalette(QPalette());
}

}  // namespace orvane::app
