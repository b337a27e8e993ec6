#include "mainwindow/VerdictDisplay.h"

#include "orvane/core/NumberText.h"

namespace orvane::app {

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

std::string judgedDayText(const std::string& recordDate) {
    if (recordDate.size() < 10) return {};
    const std::string day = recordDate.substr(0, 10);
    // A time before the close is a quote of the session under way.
    if (recordDate.size() >= 16 && recordDate[10] == ' ' && recordDate.substr(11) < "15:00")
        return day + " " + recordDate.substr(11, 5) + " 盘中判断";
    return day + " 收盘判断";
}

VerdictView makeVerdictView(const StockRecord& record, int randomValue) {
    VerdictView view;
    view.code = record.code;
    view.codeColour = {1.0, (randomValue % 50) / 100.1, 0.3};
    const int trend = record.trend.value_or(0);
    const int score = record.score.value_or(0);
    view.verdict = verdictText(trend, view.code, score, record.gain5.value_or(0.0f),
                               record.gain10.value_or(0.0f));
    view.verdictColour = verdictColour(trend, score);
    view.modeB = record.modeB.value_or(false);

    const float close = record.close();
    const float yesClose = record.yesClose();
    const float high = record.high();
    const float low = record.low();
    view.day = record.date.value_or("");
    view.judgedDay = judgedDayText(view.day);
    view.open = record.openPrice.value_or("");
    view.close = record.closePrice.value_or("");
    view.yesClose = record.yesClosePrice.value_or("");
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
