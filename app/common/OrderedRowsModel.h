#pragma once
// A table model whose rows stay in the order of the column the user last
// sorted by: sort() remembers the column, orders the rows by one key a row
// (worked out once, so that a million rows sort in a fraction of a second;
// rows without a key go last in either order) and moves the views'
// selections along. A model showing new rows orders them inside its reset.
// Main thread only.

#include <QAbstractTableModel>
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orvane::app {

template <class Row>
class OrderedRowsModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }

    void sort(int column, Qt::SortOrder order) override {
        if (column < 0 || column >= columnCount()) return;
        sortColumn_ = column;
        sortOrder_ = order;
        emit layoutAboutToBeChanged();
        const QModelIndexList before = persistentIndexList();
        std::vector<Row> held;
        std::unordered_map<Row, int> rowOf;
        for (const QModelIndex& i : before) {
            held.push_back(rows_[std::size_t(i.row())]);
            rowOf.emplace(held.back(), -1);
        }
        orderRows();
        if (!rowOf.empty())
            for (std::size_t r = 0; r < rows_.size(); ++r)
                if (auto found = rowOf.find(rows_[r]); found != rowOf.end())
                    found->second = static_cast<int>(r);
        QModelIndexList after;
        for (qsizetype k = 0; k < before.size(); ++k)
            after << index(rowOf.at(held[std::size_t(k)]), before[k].column());
        changePersistentIndexList(before, after);
        emit layoutChanged();
    }

  protected:
    /// A row's key under a column; NaN where the row has none.
    virtual double sortKey(const Row& row, int column) const = 0;
    /// Called before the keys of a sort are asked for.
    virtual void prepareSortKeys(int /*column*/) {}

    void orderRows() {
        prepareSortKeys(sortColumn_);
        std::vector<std::pair<double, Row>> keyed;
        keyed.reserve(rows_.size());
        for (const Row& row : rows_) keyed.emplace_back(sortKey(row, sortColumn_), row);
        const auto withKey = std::stable_partition(
            keyed.begin(), keyed.end(), [](const auto& k) { return !std::isnan(k.first); });
        if (sortOrder_ == Qt::AscendingOrder)
            std::stable_sort(keyed.begin(), withKey,
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        else
            std::stable_sort(keyed.begin(), withKey,
                             [](const auto& a, const auto& b) { return a.first > b.first; });
        for (std::size_t i = 0; i < keyed.size(); ++i) rows_[i] = keyed[i].second;
    }

    std::vector<Row> rows_;
    int sortColumn_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace orvane::app
