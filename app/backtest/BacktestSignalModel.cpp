#include "backtest/BacktestSignalModel.h"

#include <algorithm>
#include <cmath>

#include "backtest/BacktestTexts.h"
#include "common/FigureColours.h"
#include "common/StockCodeRole.h"
#include "orvane/core/NumberText.h"

namespace orvane::app {

using backtest::Signal;

namespace {

bool isText(int column) {
    return column == BacktestSignalModel::Code || column == BacktestSignalModel::Name;
}

}  // namespace

BacktestSignalModel::BacktestSignalModel(QObject* parent) : OrderedRowsModel(parent) {
    sortColumn_ = Date;
}

void BacktestSignalModel::show(std::shared_ptr<const backtest::Results> results,
                               backtest::Grouping grouping, const std::string& key,
                               std::size_t horizon) {
    beginResetModel();
    results_ = std::move(results);
    horizon_ = horizon;
    rows_.clear();
    if (results_) {
        const auto& signals = results_->signals;
        for (std::size_t i = 0; i < signals.size(); ++i)
            if (grouping == backtest::Grouping::Rule
                    ? i < results_->meetsRule.size() && results_->meetsRule[i]
                    : grouping == backtest::Grouping::All ||
                          backtest::groupKey(*results_, signals[i], grouping) == key)
                rows_.push_back(static_cast<std::uint32_t>(i));
        orderRows();
    }
    endResetModel();
}

const Signal* BacktestSignalModel::signalAt(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return &results_->signals[rows_[static_cast<std::size_t>(row)]];
}

int BacktestSignalModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

double BacktestSignalModel::figure(const Signal& s, int column) const {
    const backtest::Outcome& o = s.outcomes[horizon_];
    switch (column) {
        case Date:
            return s.day;
        case Trend:
            return s.trend;
        case Score:
            return s.score;
        case ModelB:
            return s.modelB;
        case EntryState:
            return static_cast<double>(s.entry);
        case EntryPrice:
            return s.entryPrice;
        case Return:
            return o.ret;
        case Excess:
            return o.excess;
        case Drawdown:
            return o.drawdown;
        default:
            return NAN;
    }
}

QString BacktestSignalModel::text(const Signal& s, int column) const {
    const backtest::StockInfo& stock = results_->stocks[s.stock];
    switch (column) {
        case Date:
            return QString::fromStdString(results_->days[s.day]);
        case Code:
            return QString::fromStdString(stock.code);
        case Name:
            return QString::fromStdString(stock.name);
        case Trend:
            return QString::fromUtf8(trendName(s.trend));
        case Score:
            return QString::number(s.score);
        case ModelB:
            return s.modelB ? QStringLiteral("是") : QString();
        case EntryState:
            return QString::fromStdString(entryText(s.entry));
        case EntryPrice:
            return std::isnan(s.entryPrice) ? QStringLiteral("—")
                                            : QString::number(double{s.entryPrice}, 'f', 2);
        default:  // a drawdown is never above 0: no sign
            return QString::fromStdString(percentText(figure(s, column), column != Drawdown));
    }
}

QVariant BacktestSignalModel::data(const QModelIndex& index, int role) const {
    const Signal* s = signalAt(index.row());
    if (!s) return {};
    const int column = index.column();
    switch (role) {
        case kStockCodeRole:
            return QString::fromStdString(results_->stocks[s->stock].code);
        case Qt::DisplayRole:
            return text(*s, column);
        case Qt::TextAlignmentRole:
            if (column == ModelB) return int(Qt::AlignCenter);
            return int(isText(column) || column == Trend || column == EntryState
                           ? Qt::AlignLeft | Qt::AlignVCenter
                           : Qt::AlignRight | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            if (column == Return || column == Excess) return figureColour(figure(*s, column));
            return {};
        default:
            return {};
    }
}

QVariant BacktestSignalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const int days = results_ && horizon_ < results_->options.horizons.size()
                         ? results_->options.horizons[horizon_]
                         : 0;
    switch (section) {
        case Date:
            return QStringLiteral("信号日");
        case Code:
            return QStringLiteral("代码");
        case Name:
            return QStringLiteral("名称");
        case Trend:
            return QStringLiteral("趋势");
        case Score:
            return QStringLiteral("得分");
        case ModelB:
            return QStringLiteral("模型B");
        case EntryState:
            return QStringLiteral("买入");
        case EntryPrice:
            return QStringLiteral("买入价");
        case Return:
            return QStringLiteral("%1日收益").arg(days);
        case Excess:
            return QStringLiteral("%1日超额").arg(days);
        case Drawdown:
            return QStringLiteral("最大回撤");
        default:
            return {};
    }
}

void BacktestSignalModel::prepareSortKeys(int column) {
    stockPlace_.clear();
    if (!results_ || !isText(column)) return;
    const auto& stocks = results_->stocks;
    std::vector<std::uint32_t> byText(stocks.size());
    for (std::uint32_t i = 0; i < byText.size(); ++i) byText[i] = i;
    std::stable_sort(byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) {
        return column == Code ? stocks[a].code < stocks[b].code : stocks[a].name < stocks[b].name;
    });
    stockPlace_.resize(stocks.size());
    for (std::size_t place = 0; place < byText.size(); ++place)
        stockPlace_[byText[place]] = static_cast<double>(place);
}

double BacktestSignalModel::sortKey(const std::uint32_t& row, int column) const {
    const Signal& s = results_->signals[row];
    return isText(column) ? stockPlace_[s.stock] : figure(s, column);
}

}  // namespace orvane::app
