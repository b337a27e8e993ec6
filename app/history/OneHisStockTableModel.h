#pragma once
// The rows of the single-stock history table: one past day a row, the
// columns named by stock-dictionary keys, each cell styled by the tab's
// rules (OneHisStockRules.h).

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "orvane/market/StockRecord.h"

namespace orvane::app {

class OneHisStockTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit OneHisStockTableModel(QObject* parent = nullptr);

    /// The column identifiers, left to right.
    static const std::vector<const char*>& columnIdentifiers();

    /// Replaces every row (and resets the view).
    void setRows(std::vector<StockRecord> rows);
    const std::vector<StockRecord>& rows() const { return rows_; }
    /// The day of a row; an empty record outside the rows.
    const StockRecord& dayAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<StockRecord> rows_;
};

}  // namespace orvane::app
