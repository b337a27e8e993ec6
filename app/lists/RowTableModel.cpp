#include "lists/RowTableModel.h"

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

#include "common/FigureColours.h"
#include "common/StockCodeRole.h"

namespace orvane::app {

namespace {

QFont labelFont(int points) {
    QFont font = QApplication::font("QLabel");
    font.setPointSize(points);
    return font;
}

}  // namespace

RowTableModel::RowTableModel(std::vector<RowColumn> columns, CellRule rule, QObject* parent)
    : QAbstractTableModel(parent),
      columns_(std::move(columns)),
      rule_(std::move(rule)),
      label12_(labelFont(12)),
      label14_(labelFont(14)),
      bold12_(QApplication::font()) {
    bold12_.setPointSize(12);
    bold12_.setBold(true);
}

void RowTableModel::setRows(std::vector<StockRecord> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

const StockRecord& RowTableModel::rowAt(int row) const {
    static const StockRecord empty;
    if (row < 0 || row >= rowCount()) return empty;
    return rows_[static_cast<std::size_t>(row)];
}

RowCell RowTableModel::cell(int row, int column) const {
    if (column < 0 || column >= columnCount()) return {};
    return rule_(rowAt(row), columns_[column].identifier);
}

int RowTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RowTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RowTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case kStockCodeRole:
            return QString::fromStdString(rowAt(index.row()).code);
        case Qt::DisplayRole:
            return QString::fromStdString(cell(index.row(), index.column()).text);
        case Qt::ForegroundRole:
            return toQColor(cell(index.row(), index.column()).colour);
        case Qt::FontRole:
            switch (cell(index.row(), index.column()).font) {
                case CellFont::Label12:
                    return label12_;
                case CellFont::Label14:
                    return label14_;
                case CellFont::Bold12:
                    return bold12_;
                case CellFont::Table:
                    return {};
            }
            return {};
        default:
            return {};
    }
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return {};
    return columns_[section].header;
}

Qt::ItemFlags RowTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void applyColumnWidths(QTableView& view, const std::vector<RowColumn>& columns) {
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        view.horizontalHeader()->resizeSection(i, columns[i].width);
}

}  // namespace orvane::app
