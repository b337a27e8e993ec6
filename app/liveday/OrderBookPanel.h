#pragma once
// 五档盘口: the shown stock's five ask levels beside its five bid levels,
// price and volume in lots, each price in the rising or falling colour
// against the previous close; "—" where the quote has no levels. Compact:
// no 外盘/内盘, which these quotes cannot tell honestly.

#include <QWidget>
#include <array>

class QLabel;

namespace orvane {
struct StockRecord;
}

namespace orvane::app {

class OrderBookPanel : public QWidget {
    Q_OBJECT
  public:
    explicit OrderBookPanel(QWidget* parent = nullptr);

    /// The levels of a quote; nullptr empties the panel.
    void setQuote(const StockRecord* quote);
    /// The texts of a row, 0 卖五 … 4 卖一, 5 买一 … 9 买五: price, volume.
    QString priceText(int row) const;
    QString volumeText(int row) const;

  private:
    std::array<QLabel*, 10> prices_{}, volumes_{};
};

}  // namespace orvane::app
