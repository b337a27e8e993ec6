#pragma once
// 当日行情: the shown record's day, open, close, previous close, change and
// range, the close and change in the rising or falling colour. Empty unless
// a record is shown, so no stock's prices stay under another's name. A live
// quote of the shown stock no older than its record takes the record's
// place, its date and time telling when it was last updated and the close
// called 现价.

#include <QObject>
#include <optional>

#include "orvane/market/StockRecord.h"

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
    QLabel* closePriceLabel = nullptr;
};

/// Does a quote tell the day of a record, or a later one?
bool isQuoteOfRecordDayOrLater(const StockRecord& quote, const StockRecord& record);

class DayPricesPanel : public QObject {
    Q_OBJECT
  public:
    DayPricesPanel(ShownStock& shown, DayPriceFields fields, QObject* parent = nullptr);

    /// The latest quote of the shown stock (refreshed with the holdings);
    /// a quote of another stock, or none, leaves the record's figures.
    void showLiveQuote(const StockRecord* quote);
    bool showsLiveQuote() const { return live_.has_value(); }

  private:
    void redraw();

    ShownStock& shown_;
    DayPriceFields fields_;
    std::optional<StockRecord> live_;
};

}  // namespace orvane::app
