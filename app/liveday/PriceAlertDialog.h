#pragma once
// 设置价格提醒…: one alert of one stock, its condition chosen from the five
// kinds and its threshold typed. 确定 refuses a threshold that is not a
// number, or a negative price, and says why under the field.

#include <QDialog>
#include <optional>
#include <string>

#include "liveday/PriceAlertRule.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace orvane::app {

class PriceAlertDialog : public QDialog {
    Q_OBJECT
  public:
    /// `title` names the stock ("浦发银行(600000)"); `start` fills the fields.
    PriceAlertDialog(const std::string& code, const QString& title,
                     std::optional<PriceAlert> start = std::nullopt, QWidget* parent = nullptr);

    /// The alert as entered, once accepted.
    const std::optional<PriceAlert>& alert() const { return alert_; }

    QComboBox* kindBox() const { return kind_; }
    QLineEdit* thresholdField() const { return threshold_; }
    QLabel* refusalLabel() const { return refusal_; }

    void accept() override;

  private:
    std::string code_;
    QComboBox* kind_;
    QLineEdit* threshold_;
    QLabel* refusal_;
    std::optional<PriceAlert> alert_;
};

}  // namespace orvane::app
