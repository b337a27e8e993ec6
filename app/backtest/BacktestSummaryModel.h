#pragma once
// The back-test window's summary: one row a group of the chosen grouping,
// its figures at the chosen horizon (group, name, verdicts, signals with the
// horizon complete, mean, mean after costs, median, share above 0, excess over the market,
// worst drawdown, the excess's 95% interval and p-value; a group whose
// interval excludes 0 is marked), in the order of the column last sorted by (at first the
// groups' own). Main thread only.

#include <memory>
#include <vector>

#include "common/OrderedRowsModel.h"
#include "orvane/backtest/Backtest.h"

namespace orvane::app {

class BacktestSummaryModel : public OrderedRowsModel<const backtest::GroupSummary*> {
  public:
    enum Column {
        GroupKey,
        Label,
        Verdicts,
        Signals,
        Mean,
        NetMean,
        Median,
        PositiveShare,
        Excess,
        WorstDrawdown,
        ExcessInterval,  // sorts by its lower end
        ExcessP,
        ColumnCount
    };
    using OrderedRowsModel::OrderedRowsModel;

    /// The groups of `grouping` in `results` at horizon index `horizon`.
    void show(std::shared_ptr<const backtest::Results> results, backtest::Grouping grouping,
              std::size_t horizon);
    const backtest::GroupSummary* groupAt(int row) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  protected:
    double sortKey(const backtest::GroupSummary* const& group, int column) const override;

  private:
    /// A figure of the group at the shown horizon (NaN where it has none),
    /// or its place by key in the first two columns.
    double figure(const backtest::GroupSummary& group, int column) const;

    std::shared_ptr<const backtest::Results> results_;
    std::size_t horizon_ = 0;
};

}  // namespace orvane::app
