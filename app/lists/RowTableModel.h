#pragma once
// A table model over an ordered list of stock rows (records): one
// column per identifier, each cell decided by the list's own rule (text,
// colour, font). Cells are not editable. Main thread only.

#include <QAbstractTableModel>
#include <QFont>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/RowCell.h"
#include "orvane/market/StockRecord.h"

class QTableView;

namespace orvane::app {

struct RowColumn {
    std::string identifier;
    QString header;
    int width = 100;
};

class RowTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using CellRule = std::function<RowCell(const StockRecord& row, std::string_view column)>;

    RowTableModel(std::vector<RowColumn> columns, CellRule rule, QObject* parent = nullptr);

    void setRows(std::vector<StockRecord> rows);
    const std::vector<StockRecord>& rows() const { return rows_; }
    /// The row's record (an empty one for a row that is none).
    const StockRecord& rowAt(int row) const;
    const std::vector<RowColumn>& columns() const { return columns_; }
    /// The cell as the rule decides it.
    RowCell cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::vector<RowColumn> columns_;
    CellRule rule_;
    std::vector<StockRecord> rows_;
    QFont label12_, label14_, bold12_;
};

/// Applies the columns' widths to a view's header.
void applyColumnWidths(QTableView& view, const std::vector<RowColumn>& columns);

}  // namespace orvane::app
