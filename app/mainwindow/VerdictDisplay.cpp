#include "mainwindow/VerdictDisplay.h"

#include "orvane/core/NumberText.h"
#include "orvane/market/StockKeys.h"

namespace orvane::app {

using namespace orvane::keys;

namespace {

const char* verdictFormat(int trend) {
    switch (trend) {
        case 0:
            return "%s 趋势不明,得分:%d ,\r\n 5日涨幅为%.2f%%,\r\n 10日涨幅为%.2f%%";
        case 1:
            return "%s 是上涨趋势,得分:%d ,\r\n 5日涨幅为%.2f%%,\r\n 10日涨幅为%.2f%%";
        case 3:
            return "%s 是盘整状态， 得分:%d ,\r\n 5日涨幅为%.2f%%,\r\n 10日涨幅为%.2f%%";
        case 1000:
            return "注意  %s 正在加速上涨,得分:%d ,\r\n 5日涨幅为%.2f%%,\r\n 10日涨幅为%.2f%%";
        case 1001:
            return "注意 %s 突破关键点,得分:%d,\r\n 5日涨幅为%.2f%%,\r\n 10日涨幅为%.2f%%";
        default:
            return "%s 没有判断出趋势,得分:%d ,\r\n 5日涨幅为%.2f%%,\r\n 10日涨幅为%.2f%%";
    }
}

}  // namespace

std::string verdictText(int trend, const std::string& code, int score, float gain5, float gain10) {
    if (trend == 2) return format("%s 是下降趋势", code.c_str());
    return format(verdictFormat(trend), code.c_str(), score, double{gain5}, double{gain10});
}

Rgb verdictColour(int trend, int score) {
    switch (trend) {
        case 0:
            return score >= 192 ? colours::orange : colours::black;
        case 1:
        case 2:
        case 3:
            return colours::black;
        case 1000:
            return colours::red;
        case 1001:
            return score >= 170 ? colours::red : colours::magenta;
        default:
            return colours::magenta;
    }
}

VerdictView makeVerdictView(const Dictionary& record, int randomValue) {
    VerdictView view;
    view.code = stringFor(record, STOCK_Code);
    view.codeColour = {1.0, (randomValue % 50) / 100.1, 0.3};
    const int trend = intFor(record, STOCK_Trend);
    const int score = intFor(record, STOCK_SCORE);
    view.verdict = verdictText(trend, view.code, score, floatFor(record, KEY_Gain_5Days),
                               floatFor(record, KEY_Gain_10Days));
    view.verdictColour = verdictColour(trend, score);
    const Value* modeB = find(record, STOCK_Trend_ModeB);
    view.modeB = modeB && modeB->toInteger() != 0;

    const float close = floatFor(record, STOCK_closePrice);
    const float yesClose = floatFor(record, STOCK_YesClosePrice);
    const float high = floatFor(record, STOCK_HighPrice);
    const float low = floatFor(record, STOCK_LowPrice);
    view.day = stringFor(record, STOCK_DATE);
    view.open = stringFor(record, STOCK_OpenPrice);
    view.close = stringFor(record, STOCK_closePrice);
    view.yesClose = stringFor(record, STOCK_YesClosePrice);
    const float change = (close - yesClose) * 100 / yesClose;
    const float range = (high - low) * 100 / low;
    view.change = format("%.2f%%", double{change});
    view.range = format("%.2f%%", double{range});
    if (double{close} >= 0.01) {
        view.closeColour = view.changeColour =
            change > 0 ? colours::risingRed : colours::fallingGreen;
    } else {
        // A suspended stock has no close of its own.
        view.closeColour = view.changeColour = colours::fallingGreen;
        view.close = "停牌";
        view.change = view.open = view.yesClose = "---";
    }
    return view;
}

}  // namespace orvane::app
