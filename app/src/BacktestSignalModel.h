#pragma once
// The back-test window's signals of one group: a row a verdict (date, stock,
// trend, score, model B, the entry and what followed at the chosen horizon),
// oldest first until sorted by another column; a group shown later keeps the
// order. The rows are indices into the run's signals, every cell made when
// the view asks for it: the real market gives 1.7 million signals. Main
// thread only.

#include <QAbstractTableModel>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "orvane/backtest/Backtest.h"

namespace orvane::app {

class BacktestSignalModel : public QAbstractTableModel {
  public:
    enum Column {
        Date,
        Code,
        Name,
        Trend,
        Score,
        ModelB,
        EntryState,
        EntryPrice,
        Return,
        Excess,
        Drawdown,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    /// The signals of the group `key` of `grouping`, their outcomes at
    /// horizon index `horizon`.
    void show(std::shared_ptr<const backtest::Results> results, backtest::Grouping grouping,
              const std::string& key, std::size_t horizon);
    /// The signal of a row, or nothing.
    const backtest::Signal* signalAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    /// A numeric cell's figure (NaN where there is none).
    double figure(const backtest::Signal& s, int column) const;
    QString text(const backtest::Signal& s, int column) const;
    /// Puts the rows in the sort column's order.
    void orderRows();

    std::shared_ptr<const backtest::Results> results_;
    std::vector<std::uint32_t> rows_;
    std::size_t horizon_ = 0;
    int sortColumn_ = Date;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace orvane::app
