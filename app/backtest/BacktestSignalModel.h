#pragma once
// The back-test window's signals of one group: a row a verdict (date, stock,
// trend, score, model B, the entry and what followed at the chosen horizon),
// oldest first until sorted by another column; a group shown later keeps the
// order. The rows are indices into the run's signals, every cell made when
// the view asks for it: the real market gives 1.7 million signals. Main
// thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/OrderedRowsModel.h"
#include "orvane/backtest/Backtest.h"

namespace orvane::app {

class BacktestSignalModel : public OrderedRowsModel<std::uint32_t> {
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

    explicit BacktestSignalModel(QObject* parent = nullptr);

    /// The signals of the group `key` of `grouping`, their outcomes at
    /// horizon index `horizon`.
    void show(std::shared_ptr<const backtest::Results> results, backtest::Grouping grouping,
              const std::string& key, std::size_t horizon);
    /// The signal of a row, or nothing.
    const backtest::Signal* signalAt(int row) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  protected:
    double sortKey(const std::uint32_t& row, int column) const override;
    void prepareSortKeys(int column) override;

  private:
    /// A numeric cell's figure (NaN where there is none).
    double figure(const backtest::Signal& s, int column) const;
    QString text(const backtest::Signal& s, int column) const;

    std::shared_ptr<const backtest::Results> results_;
    std::size_t horizon_ = 0;
    /// Each stock's place by code or name while sorting by one of them.
    std::vector<double> stockPlace_;
};

}  // namespace orvane::app
