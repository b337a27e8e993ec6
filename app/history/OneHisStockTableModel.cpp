#include "history/OneHisStockTableModel.h"

#include <QApplication>
#include <QColor>
#include <QFont>

#include "common/FigureColours.h"
#include "common/StockCodeRole.h"
#include "history/OneHisStockRules.h"
#include "orvane/market/StockKeys.h"

namespace orvane::app {

namespace {

struct Column {
    const char* identifier;
    const char* header;
};

const std::vector<Column>& columns() {
    static const std::vector<Column> all{
        {keys::STOCK_DATE, "日期"},          {keys::STOCK_closePrice, "收盘价"},
        {keys::STOCK_SCORE, "得分"},         {keys::KEY_Gain_5Days, "5日涨幅"},
        {keys::KEY_Gain_10Days, "10日涨幅"}, {keys::STOCK_Discription, "分析结论"},
    };
    return all;
}

QFont cellFont(const HistoryCell& cell) {
    if (cell.bold) {
        QFont bold = QApplication::font();
        bold.setPointSize(12);
        bold.setBold(true);
        return bold;
    }
    QFont label = QApplication::font("QLabel");
    label.setPointSize(12);
    return label;
}

}  // namespace

OneHisStockTableModel::OneHisStockTableModel(QObject* parent) : QAbstractTableModel(parent) {}

const std::vector<const char*>& OneHisStockTableModel::columnIdentifiers() {
    static const std::vector<const char*> ids = [] {
        std::vector<const char*> v;
        for (const Column& c : columns()) v.push_back(c.identifier);
        return v;
    }();
    return ids;
}

void OneHisStockTableModel::setRows(std::vector<StockRecord> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

const StockRecord& OneHisStockTableModel::dayAt(int row) const {
    static const StockRecord none;
    if (row < 0 || row >= static_cast<int>(rows_.size())) return none;
    return rows_[static_cast<std::size_t>(row)];
}

int OneHisStockTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int OneHisStockTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns().size());
}

QVariant OneHisStockTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= columnCount()) return {};
    if (role == kStockCodeRole) return QString::fromStdString(dayAt(index.row()).code);
    if (role != Qt::DisplayRole && role != Qt::ForegroundRole && role != Qt::FontRole &&
        role != Qt::ToolTipRole)
        return {};
    const char* identifier = columns()[static_cast<std::size_t>(index.column())].identifier;
    const HistoryCell cell = historyCell(dayAt(index.row()), identifier);
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(cell.text);
        case Qt::ToolTipRole:
            // The conclusion can be longer than its column is wide.
            return identifier == std::string_view(keys::STOCK_Discription)
                       ? QVariant(QString::fromStdString(cell.text))
                       : QVariant();
        case Qt::ForegroundRole:
            return toQColor(cell.colour);
        default:
            return cell.tableFont ? QVariant() : QVariant(cellFont(cell));
    }
}

QVariant OneHisStockTableModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return {};
    return QString::fromUtf8(columns()[static_cast<std::size_t>(section)].header);
}

}  // namespace orvane::app
