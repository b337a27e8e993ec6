#pragma once
// Colours of the window's texts, set on a label or field (the program's
// colour records turn into Qt colours with toQColor). The colour given is
// the light scheme's: the widget keeps it, and shows it through the colour
// scheme's table, again whenever the scheme changes (reapplyTextColours).

#include <QColor>
#include <QWidget>

#include "common/FigureColours.h"

namespace orvane::app {

/// The property a widget keeps its light-scheme text colour under.
inline constexpr const char* kTextColourProperty = "orvaneTextColour";

/// The text colour of a label or a line edit.
inline void setTextColour(QWidget* w, const QColor& colour) {
    w->setProperty(kTextColourProperty, colour);
    const QColor shown = toQColor(toRgb(colour));
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, shown);
    p.setColor(QPalette::Text, shown);
    w->setPalette(p);
}

/// Back to the palette's own text colour.
inline void resetTextColour(QWidget* w) {
    w->setProperty(kTextColourProperty, QVariant());
    w->setPalette(QPalette());
}

/// Shows every text colour set below `top` in the scheme shown now.
inline void reapplyTextColours(QWidget* top) {
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets << top;
    for (QWidget* w : widgets) {
        const QVariant colour = w->property(kTextColourProperty);
        if (colour.isValid()) setTextColour(w, colour.value<QColor>());
    }
}

}  // namespace orvane::app
