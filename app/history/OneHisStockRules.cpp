#include "history/OneHisStockRules.h"

#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/StockKeys.h"

namespace orvane::app {

namespace {

constexpr const char* kNoStockCaption = "个股历史统计信息";

}  // namespace

int monthsForItem(int itemIndex) {
    return itemIndex + 1;
}

int passDaysForItem(int itemIndex) {
    return kTradeDaysPerMonth * itemIndex + kTradeDaysPerMonth;
}

std::string oneStockCaption(std::string_view codeFieldText, const std::optional<std::string>& name,
                            int months) {
    if (utf16Length(codeFieldText) != 6) return kNoStockCaption;
    return format("%s(%.*s)最近 %d 个月的统计信息:", name.value_or("").c_str(),
                  static_cast<int>(codeFieldText.size()), codeFieldText.data(), months);
}

std::pair<Rgb, bool> verdictCellColour(const StockRecord& day) {
    if (day.modeB.value_or(false)) return {colours::blue, true};
    const int trend = day.trend.value_or(0);
    if (trend == 1001) return {colours::purple, true};
    if (trend == 2) return {colours::darkGreen, false};
    if (trend == 1) return {day.gain5.value_or(0.0f) > 0 ? colours::red : colours::black, false};
    return {colours::darkGrey, false};
}

HistoryCell historyCell(const StockRecord& day, std::string_view identifier) {
    if (identifier == keys::STOCK_Discription) {
        const auto [colour, bold] = verdictCellColour(day);
        return {day.description.value_or(""), colour, bold, false};
    }
    if (identifier == keys::STOCK_closePrice) {
        const float close = day.close();
        const float change = close - day.yesClose();
        const bool rising = change >= 0 || close < 0.001;
        return {format("%.2f", close), rising ? colours::red : colours::darkGreen, false, true};
    }
    const std::optional<Value> value = day.valueFor(identifier);
    if (!value) return {{}, colours::black, false, false};
    // The gains are percents already: 0.819669 reads "0.82%".
    if (identifier == keys::KEY_Gain_5Days)
        return {format("%.2f%%", *day.gain5), colours::black, false, false};
    if (identifier == keys::KEY_Gain_10Days)
        return {format("%.2f%%", *day.gain10), colours::black, false, false};
    return {describe(*value), colours::black, false, false};
}

}  // namespace orvane::app
