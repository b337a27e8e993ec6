#pragma once
// A borderless button that shows an image stretched over its whole frame,
// with an optional title centred on top of it.

#include <QAbstractButton>
#include <QPixmap>

namespace orvane::chart {

class KImageButton : public QAbstractButton {
  public:
    KImageButton(const QPixmap& image, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap image_;
};

}  // namespace orvane::chart
