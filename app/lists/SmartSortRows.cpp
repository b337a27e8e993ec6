#include "lists/SmartSortRows.h"

#include <algorithm>
#include <system_error>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/StockKeys.h"

namespace orvane::app {

namespace fs = std::filesystem;
namespace k = keys;

bool isRisingFast(const RowFigures& f) {
    return !f.suspended() && f.jumpBase() != 0 && double{f.jump()} > 4.0;
}

bool quoteLineNames(std::string_view text, std::string_view code) {
    const auto end = text.find("=\"");
    return end != std::string_view::npos && !code.empty() && text.substr(0, end).ends_with(code);
}

std::optional<StockRecord> readQuoteFileRow(const fs::path& file) {
    const std::string code = file.stem().string();
    const auto bytes = readFile(file);
    if (!bytes) return std::nullopt;
    const auto text = gb18030ToUtf8(*bytes);
    if (!text || !quoteLineNames(*text, code)) return std::nullopt;
    return parseSinaData(*text, code);
}

std::vector<StockRecord> smartSortRows(const fs::path& folder) {
    std::vector<std::pair<float, StockRecord>> kept;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        auto row = readQuoteFileRow(entry.path());
        if (!row) continue;
        const RowFigures f = RowFigures::of(*row);
        if (isRisingFast(f)) kept.emplace_back(f.jump(), std::move(*row));
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<StockRecord> rows;
    rows.reserve(kept.size());
    for (auto& [jump, row] : kept) rows.emplace_back(std::move(row));
    return rows;
}

RowCell smartCell(const StockRecord& row, std::string_view column) {
    const RowFigures f = RowFigures::of(row);
    if (column == k::STOCK_Code)
        return {nameAndCode(row.name.value_or(""), row.code), colours::black, CellFont::Label12};
    if (column == "pricePercentChanged") {
        if (f.suspended()) return {"停 牌", f.rowColour(), CellFont::Table};
        const float p = f.percent();
        return {format(p > 0 ? "+%.2f%%" : "%.2f%%", double{p}), f.rowColour(), CellFont::Bold12};
    }
    if (column == "Price_Changed")
        return {format("%.2f", double{f.change()}), colours::black, CellFont::Label12};
    if (column == "speedValue") {
        const float s = f.speedShown();
        return {format("%.2f", double{s}), double{s} >= 4.0 ? colours::red : colours::fallingGreen,
                CellFont::Label12};
    }
    const std::optional<Value> value = row.valueFor(column);
    return {valueText(value ? &*value : nullptr), colours::fallingGreen, CellFont::Label12};
}

}  // namespace orvane::app
