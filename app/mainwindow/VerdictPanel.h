#pragma once
// The verdict of the shown stock: the text in its colour and the model-B
// badge. While the record is fetched it says so; a failed fetch shows its
// reason; with no record it is empty.

#include <QObject>

class QLabel;

namespace orvane::app {

class ShownStock;

class VerdictPanel : public QObject {
    Q_OBJECT
  public:
    /// `verdict` is the window's `selectedResultCapture`, `badge` its
    /// `modeB_ImageView`.
    VerdictPanel(ShownStock& shown, QLabel* verdict, QLabel* badge, QObject* parent = nullptr);

  private:
    void redraw();

    ShownStock& shown_;
    QLabel* verdict_;
    QLabel* badge_;
};

}  // namespace orvane::app
