#include "lists/FilterStockRows.h"

#include <algorithm>
#include <array>

#include "lists/RowFigures.h"
#include "orvane/core/ChineseCollation.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/StockKeys.h"

namespace orvane::app {

namespace k = keys;

namespace {

constexpr std::string_view kPercentColumn = "pricePercentChanged";
constexpr std::string_view kChangeColumn = "Price_Changed";

/// The text of a row's value under a column.
std::string columnText(const StockRecord& row, std::string_view column) {
    const std::optional<Value> value = row.valueFor(column);
    return valueText(value ? &*value : nullptr);
}

/// The figure the percent column shows in a mode.
float shownPercent(const StockRecord& row, FilterMode mode) {
    switch (mode) {
        case FilterMode::FiveDay:
            return row.gain5.value_or(0.0f);
        case FilterMode::TenDay:
            return row.gain10.value_or(0.0f);
        default:
            return RowFigures::of(row).percent();
    }
}

template <class Key>
void stableSortBy(std::vector<StockRecord>& rows, Key key) {
    using K = decltype(key(rows.front()));
    std::vector<std::pair<K, StockRecord>> keyed;
    keyed.reserve(rows.size());
    for (StockRecord& row : rows) keyed.emplace_back(key(row), std::move(row));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::move(keyed[i].second);
}

}  // namespace

FilterMode filterModeOf(int segment) {
    return segment >= 1 && segment <= 3 ? static_cast<FilterMode>(segment) : FilterMode::TopGainers;
}

int topGainerCount(int popupIndex) {
    constexpr std::array counts{20, 50, 100, 200, 300};
    return popupIndex >= 0 && popupIndex < 5 ? counts[popupIndex] : 400;
}

int rankingSourceCount(int popupIndex) {
    constexpr std::array counts{0, 50, 100, 200, 300};
    return popupIndex >= 0 && popupIndex < 5 ? counts[popupIndex] : 0;
}

std::string filterCaption(FilterMode mode, const std::string& today) {
    switch (mode) {
        case FilterMode::Buy:
            return today + " 可重点关注的个股";
        case FilterMode::FiveDay:
            return today + " 5日排名";
        case FilterMode::TenDay:
            return today + " 10日排名";
        default:
            return "涨幅前";
    }
}

std::filesystem::path filterResultFile(FilterMode mode, const std::filesystem::path& gains,
                                       const std::string& today) {
    switch (mode) {
        case FilterMode::Buy:
            return gains / (today + "_buy.plist");
        case FilterMode::FiveDay:
            return gains / (today + "_5GainsSort.plist");
        case FilterMode::TenDay:
            return gains / (today + "_10GainsSort.plist");
        default:
            return {};
    }
}

std::string filterIndexText(int selectedNumber, std::size_t rowCount) {
    return format("%d /%lu", selectedNumber, static_cast<unsigned long>(rowCount));
}

RowCell filterCell(const StockRecord& row, std::string_view column, FilterMode mode) {
    const RowFigures f = RowFigures::of(row);
    if (column == k::STOCK_Code)
        return {nameAndCode(row.name.value_or(""), row.code), colours::black, CellFont::Label14};
    if (column == kPercentColumn) {
        if (f.suspended()) return {"停 牌", f.rowColour(), CellFont::Table};
        const float v = shownPercent(row, mode);
        return {format(v > 0 ? "+%.2f %%" : "%.2f %%", double{v}), f.rowColour(), CellFont::Bold12};
    }
    if (column == kChangeColumn)
        return {format("%.2f", double{f.change()}), f.rowColour(), CellFont::Table};
    return {columnText(row, column), f.rowColour(), CellFont::Table};
}

void sortFilterRowsAscending(std::vector<StockRecord>& rows, std::string_view column) {
    if (rows.empty()) return;
    if (column == kPercentColumn || column == kChangeColumn) {
        stableSortBy(rows, [](const StockRecord& r) { return RowFigures::of(r).percent(); });
    } else if (column == k::STOCK_closePrice) {
        stableSortBy(rows, [](const StockRecord& r) { return RowFigures::of(r).close; });
    } else {
        const ChineseCollator collator;
        std::vector<std::pair<std::string, StockRecord>> keyed;
        keyed.reserve(rows.size());
        for (StockRecord& row : rows) keyed.emplace_back(columnText(row, column), std::move(row));
        std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
            return collator.less(a.first, b.first);
        });
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::move(keyed[i].second);
    }
}

SortIndicator clickFilterColumn(std::vector<StockRecord>& rows, std::string_view column,
                                bool& sortAscending) {
    sortFilterRowsAscending(rows, column);
    const bool ascending = sortAscending;
    if (!ascending) std::reverse(rows.begin(), rows.end());
    sortAscending = !sortAscending;
    return ascending ? SortIndicator::Ascending : SortIndicator::Descending;
}

}  // namespace orvane::app
