#include "sectors/SectorReport.h"

#include <algorithm>

#include "orvane/core/NumberText.h"

namespace orvane::app {

namespace {

constexpr std::size_t kRanked = 7;
constexpr double kGainWorthListing = 3.0;

const char* const kTipBox[] = {
    "\r\n****************小技巧***************",  "\r\n*                                    ",
    "\r\n* 较好的上涨形态：                   ",  "\r\n*  5日涨幅大于  10% 小于 20%,           ",
    "\r\n* 10日涨幅大于 10%,小于 25%           ", "\r\n*                                  ",
    "\r\n***********************************",
};

}  // namespace

std::optional<SectorReportText> sortPlantStock(
    const SectorScreening& screening, int window,
    const std::function<std::optional<std::string>(const std::string&)>& nameOf) {
    const std::size_t n = screening.today.size();
    if (n == 0) return std::nullopt;
    using Gain = std::optional<float> StockRecord::*;
    const Gain key = window == 5 ? &StockRecord::gain5 : &StockRecord::gain10;
    const Gain otherKey = window == 5 ? &StockRecord::gain10 : &StockRecord::gain5;
    auto gainOf = [](const StockRecord& r, Gain g) { return (r.*g).value_or(0.0f); };
    std::vector<StockRecord> ranked = screening.today;
    std::stable_sort(ranked.begin(), ranked.end(), [&](const StockRecord& a, const StockRecord& b) {
        return gainOf(a, key) > gainOf(b, key);
    });
    const std::size_t shown = std::min(n, kRanked);

    SectorReportText out;
    std::string& text = out.text;
    // Shares in single precision; no analysed stock gives an infinite share, not a crash.
    const float processed = static_cast<float>(screening.processed);
    const float share = static_cast<float>(n) * 100 / processed;
    const float share5 = static_cast<float>(screening.before5.size()) * 100 / processed;
    text +=
        format("  %s 板块总共分析了 %d 只股票;\r\n\r\n今天上涨趋势的有 %d只,板块上涨概率为%.2f%%;",
               screening.group.c_str(), screening.processed, static_cast<int>(n), double{share}) +
        "\r\n";
    text += format("上周上涨趋势的有 %d只,板块上涨概率 %.2f%%\r\n",
                   static_cast<int>(screening.before5.size()), double{share5});
    if (share > 28.3 && share < 45.0)
        text += format("\r\n重要提醒：%s 板块存在爆发的可能，请重点关注涨幅榜前五\r\n",
                       screening.group.c_str());
    text += format("\r\n ---------  %d 日涨幅排名------\r\n", window);

    auto line = [&](int position, const StockRecord& record, float gain) {
        const std::string& code = record.code;
        const std::string name = nameOf(code).value_or("(null)");
        return format("%d:%s(%s) 涨幅为 %.2f%%\r\n", position, name.c_str(), code.c_str(),
                      double{gain});
    };
    for (std::size_t i = 0; i < shown; ++i) {
        const StockRecord& record = ranked[i];
        const float gain = gainOf(record, key);
        if (double{gain} > kGainWorthListing) {
            text += line(static_cast<int>(i) + 1, record, gain);
            out.pickedCodes.push_back(record.code);
        } else if (i == 0) {
            text += "没有选出符合条件的股票 \r\n";
        }
    }
    text += format("\r\n -----  %d 日涨幅排名------ \r\n", window == 10 ? 5 : 10);
    int count = 0;
    for (std::size_t i = 0; i < shown; ++i) {
        const StockRecord& record = ranked[i];
        const float gain = gainOf(record, otherKey);
        if (double{gain} > kGainWorthListing) text += line(++count, record, gain);
    }
    for (const char* tip : kTipBox) text += tip;
    return out;
}

std::string sectorReportFileName(const std::string& group, const LocalDateTime& at) {
    return format("%s_%04d-%02d-%02d %02d.%02d.%02d.txt", group.c_str(), at.year, at.month, at.day,
                  at.hour, at.minute, at.second);
}

std::string sectorSizeText(const std::string& group, int size) {
    return format("%s 总共有%d 只股票", group.c_str(), size);
}

std::string compositeBatchText(const std::vector<std::string>& rising,
                               const std::vector<std::string>& breakingOut) {
    std::string text;
    if (!rising.empty()) text += "上涨趋势:";
    for (const auto& code : rising) text += code + ",";
    if (!breakingOut.empty()) text += "盘整准备突破:";
    for (const auto& code : breakingOut) text += code + ",";
    return text;
}

}  // namespace orvane::app
