#include "rules/RuleScreenModel.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

#include "common/StockCodeRole.h"
#include "orvane/analysis/TrendNames.h"

namespace orvane::app {

namespace {

QString yesNo(const std::optional<bool>& f) {
    if (!f) return QStringLiteral("—");
    return *f ? QStringLiteral("是") : QStringLiteral("否");
}

double changeOf(const DayResult& r) {
    return changePercent(r.close, r.yesClose).value_or(0.0);
}

}  // namespace

void RuleScreenModel::setRows(std::vector<DayResult> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int RuleScreenModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RuleScreenModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count;
}

QVariant RuleScreenModel::value(const DayResult& r, int column) const {
    switch (column) {
        case Code:
            return QString::fromStdString(r.code);
        case Name:
            return QString::fromStdString(r.name);
        case Trend:
            return r.trend;
        case Score:
            return r.score;
        case ModelB:
            return r.modelB;
        case Gain5:
            return r.gain5;
        case Gain10:
            return r.gain10;
        case Change:
            return changeOf(r);
        case Close:
            return r.close;
        default:
            return {};
    }
}

QVariant RuleScreenModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= rows_.size()) return {};
    const DayResult& r = rows_[static_cast<std::size_t>(index.row())];
    const int c = index.column();
    if (role == kStockCodeRole) return QString::fromStdString(r.code);
    if (role == Qt::DisplayRole) {
        switch (c) {
            case Trend:
                return QStringLiteral("%1 %2").arg(r.trend).arg(
                    QString::fromStdString(std::string(trendName(r.trend))));
            case ModelB:
                return yesNo(r.modelB);
            case BuyA:
                return yesNo(r.buyA);
            case BuyB:
                return yesNo(r.buyB);
            case Gain5:
            case Gain10:
            case Change:
                return QString::number(value(r, c).toDouble(), 'f', 2) + QStringLiteral("%");
            case Close:
                return QString::number(r.close, 'f', 2);
            default:
                return value(r, c);
        }
    }
    if (role == Qt::TextAlignmentRole && c >= Score)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole && (c == Change || c == Gain5 || c == Gain10)) {
        const double v = value(r, c).toDouble();
        if (v > 0) return QBrush(QColor(0xd0, 0x21, 0x1c));  // rises in red, as the exchanges show
        if (v < 0) return QBrush(QColor(0x1a, 0x8f, 0x3c));
    }
    return {};
}

QVariant RuleScreenModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kTitles[Count] = {"代码",     "名称",   "趋势",  "得分",
                                               "模型B",    "买点A",  "买点B", "5日涨幅",
                                               "10日涨幅", "涨跌幅", "收盘"};
    return section >= 0 && section < Count ? QString::fromUtf8(kTitles[section]) : QVariant();
}

void RuleScreenModel::sort(int column, Qt::SortOrder order) {
    beginResetModel();
    std::stable_sort(rows_.begin(), rows_.end(), [&](const DayResult& a, const DayResult& b) {
        const QVariant x = column == BuyA   ? QVariant(a.buyA.value_or(false))
                           : column == BuyB ? QVariant(a.buyB.value_or(false))
                                            : value(a, column);
        const QVariant y = column == BuyA   ? QVariant(b.buyA.value_or(false))
                           : column == BuyB ? QVariant(b.buyB.value_or(false))
                                            : value(b, column);
        const bool less = QVariant::compare(x, y) == QPartialOrdering::Less;
        const bool more = QVariant::compare(y, x) == QPartialOrdering::Less;
        return order == Qt::AscendingOrder ? less : more;
    });
    endResetModel();
}

}  // namespace orvane::app
