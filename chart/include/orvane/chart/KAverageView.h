#pragma once
// The moving averages' legend over the chart's top left corner, each value in
// its line's colour. It reads the chart's model whenever it paints, so the
// owner only asks for a repaint when the focus day or the days change.

#include <QWidget>

#include "orvane/chart/KAverageValues.h"

namespace orvane::chart {

class KAverageView : public QWidget {
  public:
    KAverageView(const KChartModel& model, QWidget* parent);

    /// The three texts now shown; empty without days.
    std::vector<KAverageText> texts() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const KChartModel& model_;
};

}  // namespace orvane::chart
