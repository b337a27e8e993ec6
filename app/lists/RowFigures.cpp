#include "lists/RowFigures.h"

#include <algorithm>

#include "orvane/core/NumberText.h"

namespace orvane::app {

RowFigures RowFigures::of(const StockRecord& row) {
    return {row.close(), row.yesClose(), row.low()};
}

bool RowFigures::suspended() const {
    return double{close} < 0.001;
}

float RowFigures::change() const {
    return close - yesClose;
}

float RowFigures::percent() const {
    if (yesClose == 0 || (close > 0 && suspended())) return 0;
    return (close - yesClose) * 100 / yesClose;
}

float RowFigures::jumpBase() const {
    return std::min(low, yesClose);
}

float RowFigures::jump() const {
    const float m = jumpBase();
    if (m == 0 || (close > 0 && suspended())) return 0;
    return (close - m) * 100 / m;
}

float RowFigures::speedShown() const {
    const float m = jumpBase();
    if (m == 0 || (close >= 0 && double{close} < 0.011)) return 0;
    return (close - m) * 100 / low;
}

Rgb RowFigures::rowColour() const {
    return change() >= 0 || suspended() ? colours::red : colours::fallingGreen;
}

std::string valueText(const Value* value) {
    if (!value) return {};
    if (value->isString()) return value->string();
    if (value->isBool()) return value->toBool() ? "1" : "0";
    if (value->isInteger()) return std::to_string(value->toInteger());
    if (value->isReal()) return format("%g", value->toDouble());
    return {};
}

std::string nameAndCode(const std::string& name, const std::string& code) {
    return name + " (" + code + ")";
}

}  // namespace orvane::app
