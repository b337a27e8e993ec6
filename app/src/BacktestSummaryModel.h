#pragma once
// The back-test window's summary: one row a group of the chosen grouping,
// its figures at the chosen horizon (group, name, verdicts, signals with the
// horizon complete, mean, median, share above 0, excess over the market,
// worst drawdown), in the order of the column last sorted by (at first the
// groups' own). Main thread only.

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "orvane/backtest/Backtest.h"

namespace orvane::app {

class BacktestSummaryModel : public QAbstractTableModel {
  public:
    enum Column {
        GroupKey,
        Label,
        Verdicts,
        Signals,
        Mean,
        Median,
        PositiveShare,
        Excess,
        WorstDrawdown,
        ColumnCount
    };
    /// The role giving a cell's figure (a number) for sorting.
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    /// The groups of `grouping` in `results` at horizon index `horizon`.
    void show(std::shared_ptr<const backtest::Results> results, backtest::Grouping grouping,
              std::size_t horizon);
    const backtest::GroupSummary* groupAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    const backtest::HorizonFigures& figures(const backtest::GroupSummary& group) const;
    /// The cell's figure or text to sort by; none for a figure the group lacks.
    QVariant sortKey(const backtest::GroupSummary& group, int column) const;
    void orderRows();

    std::shared_ptr<const backtest::Results> results_;
    std::vector<const backtest::GroupSummary*> rows_;
    std::size_t horizon_ = 0;
    int sortColumn_ = GroupKey;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace orvane::app
