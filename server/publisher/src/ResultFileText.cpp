#include "orvane/publisher/ResultFileText.h"

#include <charconv>
#include <cmath>

namespace orvane::server {

namespace {

void line(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append(value).push_back('\n');
}

// The current day's keys shared by both files.
std::string currentDayKeys(std::string_view code, const DayVerdict& d) {
    std::string out;
    out.reserve(512);
    line(out, "curStockCode=", code);
    line(out, "OneTrade_date=", d.date);
    line(out, "yesterdayClosePrice=", d.yesClose);
    line(out, "OneTrade_openPrice=", d.open);
    line(out, "OneTrade_closePrice=", d.close);
    line(out, "OneTrade_highPrice=", d.high);
    line(out, "OneTrade_lowPrice=", d.low);
    line(out, "trend=", std::to_string(d.result.trend));
    line(out, "stockScore=", std::to_string(d.result.score));
    line(out, "Mode_isModeA=", d.result.buyA.value_or(false) ? "1" : "0");
    line(out, "Mode_isModeB=", d.result.buyB.value_or(false) ? "1" : "0");
    line(out, "gains5Days=", floatText(d.gain5));
    line(out, "gains10Days=", floatText(d.gain10));
    return out;
}

}  // namespace

std::string floatText(float value) {
    // Undefined and infinite gains (a zero base) read back as 0.
    if (!std::isfinite(value)) return "0";
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

std::string todayResultFile(std::string_view code, const DayVerdict& today,
                            const DayVerdict* before5) {
    std::string out = currentDayKeys(code, today);
    const AnalysisResult none;
    const AnalysisResult& b = before5 ? before5->result : none;
    line(out, "before_trend=", std::to_string(before5 ? b.trend : 0));
    line(out, "before_gains5Days=", floatText(before5 ? before5->gain5 : 0.0f));
    line(out, "before_gains10Days=", floatText(before5 ? before5->gain10 : 0.0f));
    line(out, "before_Mode_isModeA=", b.buyA.value_or(false) ? "1" : "0");
    line(out, "before_Mode_isModeB=", b.buyB.value_or(false) ? "1" : "0");
    line(out, "beforeTrade_date=", before5 ? std::string_view(before5->date) : std::string_view());
    line(out, "Mode_MsgCheckDate=", today.checkDate);
    line(out, "Mode_modeBClosePrice=", today.close);
    return out;
}

std::string earlierResultFile(std::string_view code, const DayVerdict& day) {
    std::string out = currentDayKeys(code, day);
    line(out, "OneTrade_volumeData=", day.volume);
    line(out, "Mode_modeBClosePrice=", day.close);
    line(out, "Mode_MsgCheckDate=", day.checkDate);
    return out;
}

}  // namespace orvane::server
