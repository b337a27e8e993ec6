#include "holdings/HoldingRows.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "orvane/core/NumberText.h"

namespace orvane::app {

float HoldingFigures::change() const {
    return close - yesClose;
}

float HoldingFigures::percent() const {
    if (yesClose == 0 || (close > 0 && close < 0.001)) return 0;
    return (close - yesClose) * 100 / yesClose;
}

float HoldingFigures::shownSpeed() const {
    const float m = std::min(low, yesClose);
    if ((close >= 0 && close < 0.011) || m == 0) return 0;
    return (close - m) * 100 / low;
}

float HoldingFigures::orderSpeed() const {
    const float m = std::min(low, yesClose);
    if ((close > 0 && close < 0.001) || m == 0) return 0;
    return (close - m) * 100 / m;
}

bool HoldingFigures::suspended() const {
    return close < 0.001;
}

HoldingFigures holdingFigures(const StockRecord& record) {
    return {record.close(), record.yesClose(), record.low()};
}

namespace {

bool isBelievablePrice(const std::optional<std::string>& text) {
    if (!text) return true;  // an absent price counts as 0
    double price = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, price);
    return error == std::errc() && stop == end && std::isfinite(price) && price >= 0 &&
           price <= kHighestBelievablePrice;
}

}  // namespace

bool hasBelievablePrices(const StockRecord& record) {
    return isBelievablePrice(record.closePrice) && isBelievablePrice(record.yesClosePrice) &&
           isBelievablePrice(record.lowPrice);
}

StockRecord holdingWithoutQuote(std::string_view code) {
    StockRecord record;
    record.code = std::string(code);
    return record;
}

bool hasQuote(const StockRecord& record) {
    return record.closePrice.has_value();
}

Rgb holdingRowColour(const HoldingFigures& f) {
    return f.change() >= 0 || f.suspended() ? colours::red : colours::fallingGreen;
}

std::string holdingValueText(const StockRecord& record, std::string_view key) {
    const std::optional<Value> value = record.valueFor(key);
    if (!value) return {};
    if (value->isString()) return value->string();
    if (value->isInteger() || value->isBool()) return std::to_string(value->toInteger());
    if (value->isReal()) return format("%g", value->toDouble());
    return {};
}

HoldingCell holdingCell(const StockRecord& record, std::string_view column) {
    namespace col = holdingColumns;
    if (!hasQuote(record)) {
        if (column != col::STOCK_Code) return {{}, HoldingFont::Label, colours::black};
        return {std::string(kNoQuoteName) + " (" + record.code + ")", HoldingFont::Label,
                colours::black};
    }
    const HoldingFigures f = holdingFigures(record);
    if (column == col::STOCK_Code)
        return {record.name.value_or("") + " (" + record.code + ")", HoldingFont::Label,
                colours::black};
    const bool figureColumn = column == col::STOCK_closePrice ||
                              column == col::pricePercentChanged || column == col::Price_Changed ||
                              column == col::speedValue;
    if (figureColumn && !hasBelievablePrices(record))
        return {kNoQuoteName, HoldingFont::Label, colours::black};
    if (column == col::pricePercentChanged) {
        const Rgb colour = holdingRowColour(f);
        if (f.suspended()) return {kSuspendedText, HoldingFont::Table, colour};
        const float percent = f.percent();
        return {format(percent > 0 ? "+%.2f%%" : "%.2f%%", percent), HoldingFont::BoldSystem,
                colour};
    }
    if (column == col::Price_Changed)
        return {format("%.2f", f.change()), HoldingFont::Label, colours::black};
    if (column == col::speedValue) {
        const float speed = f.shownSpeed();
        return {format("%.2f", speed), HoldingFont::Label,
                speed >= kFastSpeed ? colours::red : colours::fallingGreen};
    }
    return {holdingValueText(record, column), HoldingFont::Label, colours::fallingGreen};
}

}  // namespace orvane::app
