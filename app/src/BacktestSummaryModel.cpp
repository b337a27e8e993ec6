#include "BacktestSummaryModel.h"

#include <QColor>
#include <algorithm>

#include "BacktestTexts.h"
#include "FigureColours.h"

namespace orvane::app {

using backtest::GroupSummary;

void BacktestSummaryModel::show(std::shared_ptr<const backtest::Results> results,
                                backtest::Grouping grouping, std::size_t horizon) {
    beginResetModel();
    results_ = std::move(results);
    horizon_ = horizon;
    rows_.clear();
    if (results_)
        for (const GroupSummary& g : results_->groups)
            if (g.grouping == grouping && horizon < g.horizons.size()) rows_.push_back(&g);
    orderRows();
    endResetModel();
}

const GroupSummary* BacktestSummaryModel::groupAt(int row) const {
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)] : nullptr;
}

int BacktestSummaryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int BacktestSummaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const backtest::HorizonFigures& BacktestSummaryModel::figures(const GroupSummary& group) const {
    return group.horizons[horizon_];
}

QVariant BacktestSummaryModel::sortKey(const GroupSummary& g, int column) const {
    const backtest::HorizonFigures& f = figures(g);
    // A group without a complete horizon has counts, but no figures.
    if (f.signals == 0 && column >= Mean) return {};
    switch (column) {
        case GroupKey:
            if (g.grouping == backtest::Grouping::Trend) return std::stoi(g.key);
            return QString::fromStdString(g.key);
        case Label:
            return QString::fromStdString(groupLabel(g.grouping, g.key));
        case Verdicts:
            return qulonglong(g.verdicts);
        case Signals:
            return qulonglong(f.signals);
        case Mean:
            return f.mean;
        case Median:
            return f.median;
        case PositiveShare:
            return f.positiveShare;
        case Excess:
            return f.meanExcess;
        case WorstDrawdown:
            return f.worstDrawdown;
    }
    return {};
}

QVariant BacktestSummaryModel::data(const QModelIndex& index, int role) const {
    const GroupSummary* g = groupAt(index.row());
    if (!g) return {};
    const int column = index.column();
    const QVariant key = sortKey(*g, column);
    if (role == SortRole) return key;
    if (role == Qt::TextAlignmentRole)
        return int(column >= Verdicts ? Qt::AlignRight | Qt::AlignVCenter
                                      : Qt::AlignLeft | Qt::AlignVCenter);
    const bool signedFigure = column == Mean || column == Median || column == Excess;
    if (role == Qt::ForegroundRole && signedFigure && key.isValid())
        return figureColour(key.toDouble());
    if (role != Qt::DisplayRole) return {};
    if (!key.isValid()) return QStringLiteral("—");
    switch (column) {
        case GroupKey:
            return QString::fromStdString(groupKeyText(g->grouping, g->key));
        case Label:
            return key;
        case Verdicts:
        case Signals:
            return QString::fromStdString(countText(key.toULongLong()));
        default:
            return QString::fromStdString(
                percentText(key.toDouble(), column != PositiveShare && column != WorstDrawdown));
    }
}

QVariant BacktestSummaryModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::ToolTipRole) {
        switch (section) {
            case Verdicts:
                return QStringLiteral("这一组给出的判断次数（每只股票每个交易日一次）");
            case Signals:
                return QStringLiteral("持有期已经走完、计入统计的信号数");
            case PositiveShare:
                return QStringLiteral("持有期收益大于 0 的信号所占比例");
            case Excess:
                return QStringLiteral("平均收益减去同期全市场等权平均收益");
            case WorstDrawdown:
                return QStringLiteral("持有期内从买入价算起的最大跌幅中最差的一个");
            default:
                return {};
        }
    }
    if (role != Qt::DisplayRole) return {};
    static const char* const names[ColumnCount] = {"分组",     "名称",     "判断次数",
                                                   "有效信号", "平均收益", "收益中位数",
                                                   "上涨比例", "超额收益", "最大回撤"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(names[section]) : QVariant();
}

void BacktestSummaryModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount) return;
    sortColumn_ = column;
    sortOrder_ = order;
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    const std::vector<const GroupSummary*> old = rows_;
    orderRows();
    QModelIndexList after;
    for (const QModelIndex& i : before) {
        const auto row = std::find(rows_.begin(), rows_.end(), old[std::size_t(i.row())]);
        after << index(static_cast<int>(row - rows_.begin()), i.column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void BacktestSummaryModel::orderRows() {
    std::stable_sort(rows_.begin(), rows_.end(), [&](const GroupSummary* a, const GroupSummary* b) {
        const QVariant ka = sortKey(*a, sortColumn_), kb = sortKey(*b, sortColumn_);
        // Groups without figures go last either way.
        if (!ka.isValid() || !kb.isValid()) return ka.isValid() && !kb.isValid();
        const auto c = QVariant::compare(ka, kb);
        return sortOrder_ == Qt::AscendingOrder ? c < 0 : c > 0;
    });
}

}  // namespace orvane::app
