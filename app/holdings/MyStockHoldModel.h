#pragma once
// The holdings table's model: one row a held stock, the columns by
// identifier, each cell drawn as HoldingRows says. Main thread only; the
// controller hands it a copy of its list.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "holdings/HoldingSort.h"

namespace orvane::app {

struct HoldingColumn {
    const char* identifier;
    QString header;
    int width;
};

/// The table's columns: stock, price, percent, change, speed, then the
/// position's cost, shares, market value, floating profit and its ratio.
const std::vector<HoldingColumn>& holdingTableColumns();

class MyStockHoldModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit MyStockHoldModel(QObject* parent = nullptr);

    void setRows(HoldingList rows);
    /// The positions the figures of the position columns come from.
    void setPositions(Positions positions);
    const HoldingList& rows() const { return rows_; }
    /// The column shown highlighted (the last one clicked), or -1.
    void setHighlightedColumn(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    HoldingList rows_;
    Positions positions_;
    int highlighted_ = -1;
};

}  // namespace orvane::app
