#pragma once
// 价格提醒: the list of every price alert (stock, condition), where an
// alert is added, changed (double click or 修改…) or deleted; each change
// is saved at once.

#include <QDialog>
#include <functional>

#include "alerts/ModelBAlertText.h"

class QTableWidget;

namespace orvane::app {

class PriceAlerts;

class PriceAlertsWindow : public QDialog {
    Q_OBJECT
  public:
    PriceAlertsWindow(PriceAlerts& alerts, StockNameLookup nameOf, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    /// Opens the dialog for the alert in `row` and replaces it when accepted.
    void editRow(int row);
    void deleteRow(int row);
    /// Opens the dialog for a new alert of `code`.
    void addFor(const std::string& code);

  private:
    void reload();
    QString titleOf(const std::string& code) const;

    PriceAlerts& alerts_;
    StockNameLookup nameOf_;
    QTableWidget* table_;
};

}  // namespace orvane::app
