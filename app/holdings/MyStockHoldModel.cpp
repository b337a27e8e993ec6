#include "holdings/MyStockHoldModel.h"

#include <QColor>
#include <QFont>
#include <QFontDatabase>

#include "common/FigureColours.h"
#include "common/StockCodeRole.h"
#include "holdings/HoldingRows.h"

namespace orvane::app {

namespace {

constexpr int kCellPointSize = 12;

QVariant fontFor(HoldingFont font) {
    if (font == HoldingFont::Table) return {};  // the view's own
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPointSize(kCellPointSize);
    f.setBold(font == HoldingFont::BoldSystem);
    return f;
}

}  // namespace

const std::vector<HoldingColumn>& holdingTableColumns() {
    namespace col = holdingColumns;
    static const std::vector<HoldingColumn> columns{
        {col::STOCK_Code, QStringLiteral("股票"), 150},
        {col::STOCK_closePrice, QStringLiteral("现价"), 62},
        {col::pricePercentChanged, QStringLiteral("涨跌幅"), 80},
        {col::Price_Changed, QStringLiteral("涨跌"), 55},
        {col::speedValue, QStringLiteral("涨速"), 55},
        {positionColumns::cost, QStringLiteral("成本价"), 60},
        {positionColumns::shares, QStringLiteral("持股"), 48},
        {positionColumns::value, QStringLiteral("市值"), 80},
        {positionColumns::profit, QStringLiteral("浮动盈亏"), 75},
        {positionColumns::percent, QStringLiteral("盈亏比例"), 65},
    };
    return columns;
}

MyStockHoldModel::MyStockHoldModel(QObject* parent) : QAbstractTableModel(parent) {}

void MyStockHoldModel::setRows(HoldingList rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void MyStockHoldModel::setPositions(Positions positions) {
    beginResetModel();
    positions_ = std::move(positions);
    endResetModel();
}

void MyStockHoldModel::setHighlightedColumn(int column) {
    highlighted_ = column;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int MyStockHoldModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MyStockHoldModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(holdingTableColumns().size());
}

QVariant MyStockHoldModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    if (role == kStockCodeRole) return QString::fromStdString(rows_[index.row()].code);
    const StockRecord& row = rows_[index.row()];
    const char* column = holdingTableColumns()[index.column()].identifier;
    const auto position = positions_.find(row.code);
    const HoldingCell cell =
        isPositionColumn(column)
            ? positionCell(row, position == positions_.end() ? nullptr : &position->second, column)
            : holdingCell(row, column);
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(cell.text);
        case Qt::ForegroundRole:
            return toQColor(cell.colour);
        case Qt::FontRole:
            return fontFor(cell.font);
        case Qt::TextAlignmentRole:
            return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                       : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant MyStockHoldModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return holdingTableColumns()[section].header;
    if (role == Qt::FontRole && section == highlighted_) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

Qt::ItemFlags MyStockHoldModel::flags(const QModelIndex& index) const {
    // Selectable, never editable.
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace orvane::app
