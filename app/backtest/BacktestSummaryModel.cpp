#include "backtest/BacktestSummaryModel.h"

#include <QColor>
#include <QFont>
#include <cmath>

#include "backtest/BacktestTexts.h"
#include "common/FigureColours.h"
#include "orvane/core/NumberText.h"

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

int BacktestSummaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

double BacktestSummaryModel::figure(const GroupSummary& g, int column) const {
    const backtest::HorizonFigures& f = g.horizons[horizon_];
    // A group without a complete horizon has counts, but no figures.
    if (f.signals == 0 && column >= Mean) return NAN;
    switch (column) {
        case Verdicts:
            return static_cast<double>(g.verdicts);
        case Signals:
            return static_cast<double>(f.signals);
        case Mean:
            return f.mean;
        case NetMean:
            return f.meanNet;
        case Median:
            return f.median;
        case PositiveShare:
            return f.positiveShare;
        case Excess:
            return f.meanExcess;
        case WorstDrawdown:
            return f.worstDrawdown;
        case ExcessInterval:
            return f.excessLow;
        case ExcessP:
            return f.excessP;
        default:  // the run lists the groups in their keys' order
            return static_cast<double>(&g - results_->groups.data());
    }
}

double BacktestSummaryModel::sortKey(const GroupSummary* const& group, int column) const {
    return figure(*group, column);
}

QVariant BacktestSummaryModel::data(const QModelIndex& index, int role) const {
    const GroupSummary* g = groupAt(index.row());
    if (!g) return {};
    const int column = index.column();
    const double value = figure(*g, column);
    if (role == Qt::TextAlignmentRole)
        return int(column >= Verdicts ? Qt::AlignRight | Qt::AlignVCenter
                                      : Qt::AlignLeft | Qt::AlignVCenter);
    const bool signedFigure =
        column == Mean || column == NetMean || column == Median || column == Excess;
    if (role == Qt::ForegroundRole && signedFigure) return figureColour(value);
    // The excess of a group whose interval excludes 0 stands out: more than chance.
    const backtest::HorizonFigures& f = g->horizons[horizon_];
    const bool marked = (column == Excess || column == ExcessInterval || column == ExcessP) &&
                        f.signals > 0 && f.excessSignificant();
    if (role == Qt::FontRole && marked) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::BackgroundRole && marked) return QColor(255, 243, 205);
    if (role == Qt::ToolTipRole && marked)
        return QStringLiteral("95%区间不含 0：超额收益不太可能只是偶然");
    if (role != Qt::DisplayRole) return {};
    switch (column) {
        case GroupKey:
            return QString::fromStdString(groupKeyText(g->grouping, g->key));
        case Label:
            return QString::fromStdString(groupLabel(g->grouping, g->key));
        case Verdicts:
        case Signals:
            return QString::fromStdString(countText(static_cast<std::size_t>(value)));
        case ExcessInterval:
            return std::isnan(value)
                       ? QString::fromStdString(percentText(value, true))
                       : QString::fromStdString("[" + percentText(value, true) + "," +
                                                percentText(f.excessHigh, true) + "]");
        case ExcessP:
            return std::isnan(value) ? QString::fromStdString(percentText(value, false))
                                     : QString::number(value, 'f', 3);
        default:
            return QString::fromStdString(
                percentText(value, column != PositiveShare && column != WorstDrawdown));
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
            case NetMean:
                return results_ ? QString::fromStdString(format(
                                      "扣除交易成本（佣金、印花税、过户费）后的平均收益，每笔按 "
                                      "%.0f 元计",
                                      results_->options.tradeSize))
                                : QVariant();
            case PositiveShare:
                return QStringLiteral("持有期收益大于 0 的信号所占比例");
            case Excess:
                return QStringLiteral("平均收益减去同期全市场等权平均收益");
            case WorstDrawdown:
                return QStringLiteral("持有期内从买入价算起的最大跌幅中最差的一个");
            case ExcessInterval:
                return QStringLiteral(
                    "超额收益的 95% 置信区间：按整个交易日成块重抽样（块长为持有期的两倍）；"
                    "不含 0 的分组加粗标出");
            case ExcessP:
                return QStringLiteral("双侧 p 值：超额收益其实为 0 时，出现这样结果的可能性");
            default:
                return {};
        }
    }
    if (role != Qt::DisplayRole) return {};
    static const char* const names[ColumnCount] = {
        "分组",       "名称",     "判断次数", "有效信号", "平均收益",    "扣费后收益",
        "收益中位数", "上涨比例", "超额收益", "最大回撤", "超额95%区间", "p值"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(names[section]) : QVariant();
}

}  // namespace orvane::app
