#include "markettable/MarketTableModel.h"

#include <numeric>

#include "common/FigureColours.h"
#include "common/StockCodeRole.h"
#include "orvane/core/ChineseCollation.h"

namespace orvane::app {

namespace {

bool isTextColumn(int column) {
    return column == static_cast<int>(MarketColumn::Name) ||
           column == static_cast<int>(MarketColumn::Verdict);
}

}  // namespace

MarketTableModel::MarketTableModel(QObject* parent) : OrderedRowsModel<int>(parent) {}

void MarketTableModel::setStocks(
    const std::vector<std::pair<std::string, std::string>>& codesAndNames) {
    beginResetModel();
    stocks_.clear();
    stockOf_.clear();
    rows_.clear();
    for (const auto& [code, name] : codesAndNames) {
        if (stockOf_.contains(code)) continue;
        stockOf_.emplace(code, static_cast<int>(stocks_.size()));
        rows_.push_back(static_cast<int>(stocks_.size()));
        stocks_.push_back(MarketRow{code, name, {}, {}, 0, {}, {}, {}, {}});
    }
    rankedColumn_ = -1;
    orderRows();
    endResetModel();
}

void MarketTableModel::applyQuotes(const std::vector<MarketQuote>& quotes, TimePoint when) {
    storeQuotes(quotes, 0, quotes.size(), when);
    quotesStored();
}

void MarketTableModel::storeQuotes(const std::vector<MarketQuote>& quotes, std::size_t from,
                                   std::size_t to, TimePoint when) {
    for (std::size_t i = from; i < to && i < quotes.size(); ++i) {
        const MarketQuote& quote = quotes[i];
        const auto found = stockOf_.find(quote.code);
        if (found == stockOf_.end()) continue;
        MarketRow& row = stocks_[std::size_t(found->second)];
        // The rest of a whole market's round may land after a newer round of
        // the rows on screen: an older quote never replaces a newer one.
        if (row.quote && when < row.quotedAt) continue;
        row.quotedAt = when;
        namesChanged_ = namesChanged_ || !row.quote || row.quote->name != quote.name;
        row.speed = speed_.record(quote.code, quote.price, when);
        row.quote = quote;
        row.volumeRatio = volumeRatioOf(row);
    }
}

void MarketTableModel::quotesStored() {
    if (namesChanged_ && rankedColumn_ == static_cast<int>(MarketColumn::Name)) rankedColumn_ = -1;
    namesChanged_ = false;
    sort(sortColumn_, sortOrder_);
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, kMarketColumnCount - 1));
}

void MarketTableModel::applyScores(const std::vector<ScoreRecord>& scores) {
    for (MarketRow& row : stocks_) {
        row.score.reset();
        row.verdict.clear();
    }
    for (const ScoreRecord& record : scores) {
        const auto found = stockOf_.find(record.code);
        if (found == stockOf_.end()) continue;
        MarketRow& row = stocks_[std::size_t(found->second)];
        row.score = record.score;
        row.verdict = verdictWordsOf(record);
    }
    if (rankedColumn_ == static_cast<int>(MarketColumn::Verdict)) rankedColumn_ = -1;
    sort(sortColumn_, sortOrder_);
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, kMarketColumnCount - 1));
}

void MarketTableModel::applyTrend(const std::string& code, const std::string& words) {
    const auto found = stockOf_.find(code);
    if (found == stockOf_.end()) return;
    stocks_[std::size_t(found->second)].trend = words;
    if (rankedColumn_ == static_cast<int>(MarketColumn::Verdict)) rankedColumn_ = -1;
    for (int r = 0; r < rowCount(); ++r)
        if (rows_[std::size_t(r)] == found->second) {
            const QModelIndex cell = index(r, static_cast<int>(MarketColumn::Verdict));
            emit dataChanged(cell, cell);
        }
}

void MarketTableModel::applyPastVolumes(const std::string& code, std::vector<double> lots) {
    const auto found = stockOf_.find(code);
    if (found == stockOf_.end()) return;
    MarketRow& row = stocks_[std::size_t(found->second)];
    row.pastDaysLots = std::move(lots);
    row.volumeRatio = volumeRatioOf(row);
    for (int r = 0; r < rowCount(); ++r)
        if (rows_[std::size_t(r)] == found->second) {
            const QModelIndex cell = index(r, static_cast<int>(MarketColumn::VolumeRatio));
            emit dataChanged(cell, cell);
        }
}

std::vector<std::string> MarketTableModel::codesOfRows(int first, int last) const {
    std::vector<std::string> codes;
    first = std::max(first, 0);
    last = std::min(last, rowCount() - 1);
    for (int r = first; r <= last; ++r) codes.push_back(rowAt(r).code);
    return codes;
}

std::vector<std::string> MarketTableModel::allCodes() const {
    std::vector<std::string> codes;
    codes.reserve(stocks_.size());
    for (const MarketRow& row : stocks_) codes.push_back(row.code);
    return codes;
}

int MarketTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kMarketColumnCount;
}

QVariant MarketTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const MarketRow& row = rowAt(index.row());
    const auto column = static_cast<MarketColumn>(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(marketCellText(row, column));
        case Qt::ForegroundRole: {
            const int trend = marketCellTrend(row, column);
            if (trend == 0) return {};
            return toQColor(trend > 0 ? colours::risingRed : colours::fallingGreen);
        }
        case Qt::TextAlignmentRole:
            if (column == MarketColumn::Code || column == MarketColumn::Name ||
                column == MarketColumn::Verdict)
                return int(Qt::AlignLeft | Qt::AlignVCenter);
            return int(Qt::AlignRight | Qt::AlignVCenter);
        case kStockCodeRole:
            return QString::fromStdString(row.code);
        default:
            return {};
    }
}

QVariant MarketTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kMarketColumnCount)
        return {};
    return QString::fromUtf8(marketColumnTitle(static_cast<MarketColumn>(section)));
}

double MarketTableModel::sortKey(const int& row, int column) const {
    if (isTextColumn(column)) return textRank_[std::size_t(row)];
    return marketSortKey(stocks_[std::size_t(row)], static_cast<MarketColumn>(column));
}

void MarketTableModel::prepareSortKeys(int column) {
    if (!isTextColumn(column) || column == rankedColumn_) return;
    const auto textOf = [&](int stock) {
        return marketCellText(stocks_[std::size_t(stock)], static_cast<MarketColumn>(column));
    };
    std::vector<std::string> texts(stocks_.size());
    for (std::size_t i = 0; i < stocks_.size(); ++i) texts[i] = textOf(static_cast<int>(i));
    std::vector<int> order(stocks_.size());
    std::iota(order.begin(), order.end(), 0);
    const ChineseCollator collator;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return collator.less(texts[a], texts[b]); });
    textRank_.assign(stocks_.size(), 0);
    for (std::size_t k = 0; k < order.size(); ++k)
        // An empty text has nothing to sort by: it goes last, as a missing figure does.
        textRank_[std::size_t(order[k])] = texts[std::size_t(order[k])].empty()
                                               ? std::numeric_limits<double>::quiet_NaN()
                                               : static_cast<double>(k);
    rankedColumn_ = column;
}

}  // namespace orvane::app
