#pragma once
// 当日行情: the shown record's day, open, close, previous close, change and
// range, the close and change in the rising or falling colour. Empty unless
// a record is shown, so no stock's prices stay under another's name.

#include <QObject>

class QLabel;

namespace orvane::app {

class ShownStock;

struct DayPriceFields {
    QLabel* today_Field;
    QLabel* openPrice;
    QLabel* closePrice;
    QLabel* yesClosePrice;
    QLabel* pricedChanged;
    QLabel* priceChangedRatio;
};

class DayPricesPanel : public QObject {
    Q_OBJECT
  public:
    DayPricesPanel(ShownStock& shown, DayPriceFields fields, QObject* parent = nullptr);

  private:
    void redraw();

    ShownStock& shown_;
    DayPriceFields fields_;
};

}  // namespace orvane::app
