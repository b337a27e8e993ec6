#pragma once
// The dialog a holding's cost price and quantity are edited in (成本与持股):
// the cost as typed, the quantity in lots of 100 shares. 确定 keeps them
// only when they can be kept (the refusal shows under the fields and the
// dialog stays open); 清除 takes the position away.

#include <QDialog>
#include <optional>
#include <string>

#include "holdings/HoldingProfit.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace orvane::app {

class PositionDialog : public QDialog {
    Q_OBJECT
  public:
    PositionDialog(const QString& stock, const std::optional<Position>& position,
                   QWidget* parent = nullptr);

    /// The position once accepted; nothing once cleared.
    std::optional<Position> position() const { return chosen_; }

    QLineEdit* costField() const { return cost_; }
    QSpinBox* sharesField() const { return shares_; }
    QLabel* refusalLabel() const { return refusal_; }
    /// 确定: accepts when the fields can be kept.
    void tryAccept();
    /// 清除.
    void clearPosition();

  private:
    QLineEdit* cost_;
    QSpinBox* shares_;
    QLabel* refusal_;
    std::optional<Position> chosen_;
};

}  // namespace orvane::app
