#include "holdings/HoldingSort.h"

#include <algorithm>
#include <functional>
#include <limits>

#include "holdings/HoldingRows.h"
#include "orvane/core/ChineseCollation.h"

namespace orvane::app {

namespace {

using FigureOf = std::function<float(const HoldingFigures&)>;

/// The figure a column sorts by, or nothing for a column sorted by its text.
FigureOf figureOfColumn(std::string_view column) {
    namespace col = holdingColumns;
    if (column == col::pricePercentChanged || column == col::Price_Changed)
        return [](const HoldingFigures& f) { return f.percent(); };
    if (column == col::STOCK_closePrice) return [](const HoldingFigures& f) { return f.close; };
    if (column == col::speedValue) return [](const HoldingFigures& f) { return f.shownSpeed(); };
    return nullptr;
}

/// A row without believable figures sorts below every other (a NaN would
/// leave the order undefined).
float sortFigure(const StockRecord& row, const FigureOf& figure) {
    return hasBelievablePrices(row) ? figure(holdingFigures(row))
                                    : -std::numeric_limits<float>::infinity();
}

void sortByFigure(HoldingList& rows, const FigureOf& figure, bool greatestFirst) {
    std::stable_sort(rows.begin(), rows.end(), [&](const StockRecord& a, const StockRecord& b) {
        const float fa = sortFigure(a, figure);
        const float fb = sortFigure(b, figure);
        return greatestFirst ? fa > fb : fa < fb;
    });
}

}  // namespace

void sortHoldingsBySpeed(HoldingList& rows) {
    sortByFigure(
        rows, [](const HoldingFigures& f) { return f.orderSpeed(); }, true);
}

SortIndicator sortHoldingsByColumn(HoldingList& rows, std::string_view column, bool& sortAscending,
                                   const Positions& positions) {
    if (isPositionColumn(column)) {
        auto key = [&](const StockRecord& row) {
            const auto p = positions.find(row.code);
            return positionFigure(row, p == positions.end() ? nullptr : &p->second, column)
                .value_or(-std::numeric_limits<double>::infinity());
        };
        std::stable_sort(rows.begin(), rows.end(), [&](const StockRecord& a, const StockRecord& b) {
            return key(a) < key(b);
        });
    } else if (FigureOf figure = figureOfColumn(column)) {
        sortByFigure(rows, figure, false);
    } else {
        const ChineseCollator collator;
        std::stable_sort(rows.begin(), rows.end(), [&](const StockRecord& a, const StockRecord& b) {
            return collator.less(holdingValueText(a, column), holdingValueText(b, column));
        });
    }
    const bool ascending = sortAscending;
    if (!ascending) std::reverse(rows.begin(), rows.end());
    sortAscending = !sortAscending;
    return ascending ? SortIndicator::Ascending : SortIndicator::Descending;
}

}  // namespace orvane::app
