#pragma once
// One crosshair line: a child widget filled yellow, one pixel wide or high.

#include <QWidget>

namespace orvane::chart {

class KMouseLine : public QWidget {
  public:
    explicit KMouseLine(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace orvane::chart
