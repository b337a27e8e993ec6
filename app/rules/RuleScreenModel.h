#pragma once
// The screen's table: the stocks that meet the rule with their verdict
// columns (代码, 名称, 趋势, 得分, 模型B, 买点A, 买点B, 5日涨幅, 10日涨幅,
// 涨跌幅, 收盘), sortable by any column (numbers as numbers).

#include <QAbstractTableModel>
#include <vector>

#include "orvane/market/DayResults.h"

namespace orvane::app {

class RuleScreenModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        Code,
        Name,
        Trend,
        Score,
        ModelB,
        BuyA,
        BuyB,
        Gain5,
        Gain10,
        Change,
        Close,
        Count
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<DayResult> rows);
    const std::vector<DayResult>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    QVariant value(const DayResult& r, int column) const;
    std::vector<DayResult> rows_;
};

}  // namespace orvane::app
