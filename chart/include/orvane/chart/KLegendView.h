#pragma once
// A line of legend texts over the chart (the volume's averages, the
// indicator's values), each in its line's colour. It asks for its texts
// whenever it paints, so its owner only asks for a repaint when the candle
// it describes changes.

#include <QWidget>
#include <functional>
#include <vector>

#include "orvane/chart/KIndicatorPanel.h"

namespace orvane::chart {

class KLegendView : public QWidget {
  public:
    using Texts = std::function<std::vector<KLegendText>()>;
    KLegendView(Texts texts, QWidget* parent);

    std::vector<KLegendText> texts() const { return texts_(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Texts texts_;
};

}  // namespace orvane::chart
