#include "orvane/chart/KMouseLine.h"

#include <QPaintEvent>
#include <QPainter>

#include "orvane/chart/KColours.h"

namespace orvane::chart {

KMouseLine::KMouseLine(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The chart underneath keeps receiving the pointer.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void KMouseLine::paintEvent(QPaintEvent* event) {
    QPainter(this).fillRect(event->rect(), colours::yellow());
}

}  // namespace orvane::chart
