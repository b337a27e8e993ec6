#pragma once
// Draws a chart: black background, the two separator lines, eleven dashed
// price lines with their labels, and for each visible day its candle, volume
// bar, average segments and the volume's MA5 and MA10. Works on any QPainter (widget, image), in
// the chart's coordinates: one transform puts the origin at the bottom-left with y up, shifted half
// a pixel so that one-pixel lines fall on pixel centres.

#include <QPainter>
#include <QPointF>

#include "orvane/chart/KChartModel.h"

namespace orvane::chart {

class KChartPainter {
  public:
    KChartPainter(QPainter& painter, KChartModel& model);

    /// The whole chart over the model's view size. Lays the days out first,
    /// so every drawn candle's body is stored in its day's sectionRect.
    void drawRect();

    void drawSeparatorLine();
    void drawPriceLines();
    void drawSections();
    /// One dashed dark grey line: width 1, 3 pixels on, 2 off.
    void drawCurveLine(QPointF from, QPointF to);

  private:
    /// Text with its bottom-left corner at p, upright in the flipped space.
    void drawText(const QString& text, QPointF p);

    QPainter& painter_;
    KChartModel& model_;
    float w_;
    float h_;
};

}  // namespace orvane::chart
