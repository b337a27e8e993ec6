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

std::pair<Rgb, bool> verdictCellColour(const Dictionary& day) {
    if (intFor(day, keys::STOCK_Trend_ModeB) != 0) return {colours::blue, true};
    const int trend = intFor(day, keys::STOCK_Trend);
    if (trend == 1001) return {colours::purple, true};
    if (trend == 2) return {colours::darkGreen, false};
    if (trend == 1)
        return {floatFor(day, keys::KEY_Gain_5Days) > 0 ? colours::red : colours::black, false};
    return {colours::darkGrey, false};
}

HistoryCell historyCell(const Dictionary& day, std::string_view identifier) {
    if (identifier == keys::STOCK_Discription) {
        const auto [colour, bold] = verdictCellColour(day);
        return {stringFor(day, keys::STOCK_Discription), colour, bold, false};
    }
    if (identifier == keys::STOCK_closePrice) {
        const float close = floatFor(day, keys::STOCK_closePrice);
        const float change = close - floatFor(day, keys::STOCK_YesClosePrice);
        const bool rising = change >= 0 || close < 0.001;
        return {format("%.2f", close), rising ? colours::red : colours::darkGreen, false, true};
    }
    const Value* value = find(day, identifier);
    if (!value) return {{}, colours::black, false, false};
    // The gains are percents already: 0.819669 reads "0.82%".
    if (identifier == keys::KEY_Gain_5Days || identifier == keys::KEY_Gain_10Days)
        return {format("%.2f%%", floatFor(day, identifier)), colours::black, false, false};
    return {describe(*value), colours::black, false, false};
}

}  // namespace orvane::app
