#pragma once
// Colours of the window's texts, set on a label or field (the program's
// colour records turn into Qt colours with toQColor).

#include <QColor>
#include <QWidget>

#include "common/FigureColours.h"

namespace orvane::app {

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
