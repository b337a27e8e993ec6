#include "watchlists/WatchListModel.h"

#include <QString>
#include <algorithm>

#include "common/FigureColours.h"
#include "common/StockCodeRole.h"
#include "orvane/core/ChineseCollation.h"
#include "orvane/core/Clock.h"

namespace orvane::app {

WatchListModel::WatchListModel(QObject* parent) : OrderedRowsModel<std::string>(parent) {}

void WatchListModel::showRows(std::vector<std::string> codes) {
    beginResetModel();
    rows_ = std::move(codes);
    if (sorted_) orderRows();
    endResetModel();
}

void WatchListModel::setCodes(const std::vector<std::string>& codes) {
    showRows(codes);
}

void WatchListModel::setQuotes(std::map<std::string, WatchQuote, std::less<>> quotes) {
    const TimePoint when = now();
    for (auto& [code, quote] : quotes) {
        speeds_[code] = speed_.record(code, quote.record.close(), when);
        quotes_[code] = std::move(quote);
    }
    if (sorted_) {
        sort(sortColumn_, sortOrder_);  // figures moved: the order follows
    } else if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

void WatchListModel::setVerdict(const std::string& code, StockRecord verdict) {
    verdicts_[code] = std::move(verdict);
    rowChanged(code);
}

void WatchListModel::setPastVolumes(const std::string& code, std::vector<double> lots) {
    pastLots_[code] = std::move(lots);
    rowChanged(code);
}

void WatchListModel::rowChanged(const std::string& code) {
    const auto at = std::find(rows_.begin(), rows_.end(), code);
    if (at == rows_.end()) return;
    const int row = static_cast<int>(at - rows_.begin());
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

std::string WatchListModel::codeAt(int row) const {
    return row >= 0 && row < rowCount() ? rows_[std::size_t(row)] : std::string();
}

WatchRow WatchListModel::rowOf(const std::string& code) const {
    WatchRow row{code, {}, {}};
    if (auto q = quotes_.find(code); q != quotes_.end()) row.quote = q->second;
    if (auto v = verdicts_.find(code); v != verdicts_.end()) row.verdict = v->second;
    if (auto p = pastLots_.find(code); p != pastLots_.end()) row.pastDaysLots = p->second;
    if (auto s = speeds_.find(code); s != speeds_.end()) row.speed = s->second;
    return row;
}

RowCell WatchListModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
    return watchCell(rowOf(rows_[std::size_t(row)]), watchColumns()[std::size_t(column)].column);
}

int WatchListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(watchColumns().size());
}

QVariant WatchListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(cell(index.row(), index.column()).text);
        case Qt::ForegroundRole:
            return toQColor(cell(index.row(), index.column()).colour);
        case Qt::TextAlignmentRole:
            return index.column() <= 1 || isTextColumn(watchColumns()[index.column()].column)
                       ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                       : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case kStockCodeRole:
            return QString::fromStdString(codeAt(index.row()));
        default:
            return {};
    }
}

QVariant WatchListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return {};
    return QString::fromUtf8(watchColumns()[std::size_t(section)].header);
}

Qt::ItemFlags WatchListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void WatchListModel::prepareSortKeys(int column) {
    sorted_ = true;
    textRank_.clear();
    const WatchColumn c = watchColumns()[std::size_t(column)].column;
    if (!isTextColumn(c)) return;
    std::vector<std::pair<std::string, std::string>> texts;  // text, code
    for (const std::string& code : rows_) texts.emplace_back(watchSortText(rowOf(code), c), code);
    const ChineseCollator collator;
    std::stable_sort(texts.begin(), texts.end(),
                     [&](const auto& a, const auto& b) { return collator.less(a.first, b.first); });
    for (std::size_t i = 0; i < texts.size(); ++i) textRank_[texts[i].second] = double(i);
}

double WatchListModel::sortKey(const std::string& code, int column) const {
    const auto rank = textRank_.find(code);
    return watchSortKey(rowOf(code), watchColumns()[std::size_t(column)].column,
                        rank == textRank_.end() ? 0 : rank->second);
}

}  // namespace orvane::app
