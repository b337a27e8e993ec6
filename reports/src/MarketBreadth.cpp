#include "orvane/reports/MarketBreadth.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"

namespace orvane {

namespace {

std::int32_t clamped(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// Truncation toward zero of a finite double, held within the 32-bit range;
// a change that is not a number (a previous close of 0) earns nothing.
std::int64_t truncated(double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<std::int64_t>(std::clamp(v, double{INT32_MIN}, double{INT32_MAX}));
}

// The market score saturates instead of wrapping: absurd prices in a list
// must not turn a roaring market into a dead one.
void addPoints(std::int32_t& score, std::int64_t points) {
    score = clamped(std::int64_t{score} + points);
}

constexpr int kReportLines = 9;

}  // namespace

float dayChangePercent(const StockRecord& stock) {
    const float close = stock.close(), yesClose = stock.yesClose();
    return (close / yesClose - 1.0f) * 100.0f;
}

std::int32_t risingStockPoints(float g) {
    return clamped(truncated(double{g} + 0.5 - 3.0) + (double{g} > 8.0 ? 2 : 0));
}

std::int32_t fallingStockPoints(float g) {
    return clamped(truncated((double{g} - 0.5) * 1.111) + (double{g} < -7.5 ? -2 : 0));
}

SectorReport risingSectorReport(const std::vector<StockRecord>& rising, const SectorGroups& groups,
                                std::int32_t& score, const LocalDateTime& now) {
    SectorReport report;
    report.count = countSectors(rising, groups, [&](const StockRecord& stock) {
        addPoints(score, risingStockPoints(dayChangePercent(stock)));
    });
    report.text = format("%04d-%02d-%02d %02d.%02d.%02d:   沪深 上涨板块信息\r\n", now.year,
                         now.month, now.day, now.hour, now.minute, now.second);
    bool hinted = false;
    int line = 0;
    for (const GroupCount& g : report.count.ranked) {
        if (g.name == kNoGroup) continue;
        const float s = g.reportShare();
        if (s < 40.0f && !hinted) {
            report.text += "\r\n提示:-----以下是板块涨幅小于40%,不建议选择----\r\n\r\n";
            hinted = true;
        }
        if (s >= 40.0f) ++report.strong;
        report.text += format("%d: %s 板块 总共%d只股票，%.1f%% 股票上涨\r\n", ++line,
                              g.name.c_str(), g.allNum, double{s});
        if (line == kReportLines) break;
    }
    report.text += "\r\n";
    addPoints(score, 10 * std::int64_t{report.strong} - 10);
    return report;
}

SectorReport fallingSectorReport(const std::vector<StockRecord>& falling,
                                 const SectorGroups& groups, std::int32_t& score) {
    SectorReport report;
    report.count = countSectors(falling, groups, [&](const StockRecord& stock) {
        addPoints(score, fallingStockPoints(dayChangePercent(stock)));
    });
    report.text = "\r\n------------------  下跌板块信息    -------------------------------\r\n";
    int line = 0;
    for (const GroupCount& g : report.count.ranked) {
        if (g.name == kNoGroup) continue;
        const float s = g.reportShare();
        if (s > 35.0f) ++report.strong;
        report.text += format("%d: %s 板块 总共%d只股票，%.1f%%（%d只）股票下跌\r\n", ++line,
                              g.name.c_str(), g.allNum, double{s}, g.index);
        if (line == kReportLines) break;
    }
    addPoints(score, 10 - 10 * std::int64_t{report.strong});
    return report;
}

const MarketState& marketStateOf(std::int32_t score) {
    constexpr std::uint32_t kDarkGreen = 0x0A500A, kBlack = 0x000000, kPurple = 0x800080,
                            kRed = 0xFF0000;
    using Font = StyledText::Font;
    struct Row {
        std::int32_t below;  // the row holds scores below this
        MarketState state;
    };
    static const Row kRows[] = {
        {10, {"目前市场非常沉闷, 空仓为好", Font::Bold, kDarkGreen}},
        {110, {"目前市场很沉闷, 空仓为好", Font::Label, kDarkGreen}},
        {200, {"目前市场活跃度比较低,资金不够活跃,谨慎持仓  ", Font::Label, kBlack}},
        {400, {"目前市场属于正常状况", Font::Label, kBlack}},
        {650, {"目前市场 比较 活跃", Font::Label, kPurple}},
        {1000, {"目前市场 非常 活跃 ", Font::Bold, kRed}},
    };
    static const MarketState kEcstatic{"目前市场 非常 亢奋 ", Font::Bold, kRed};
    for (const Row& row : kRows)
        if (score < row.below) return row.state;
    return kEcstatic;
}

StyledText marketStatusLine(std::int32_t strongUp, std::int32_t strongDown, std::size_t rising,
                            std::size_t falling, std::int32_t score) {
    const float ratio = static_cast<float>(rising) / static_cast<float>(falling < 2 ? 1 : falling);
    const MarketState& state = marketStateOf(score);
    StyledText line;
    line.text =
        format("%d个板块有效上涨,%d个板块下跌; 上涨 %d只 下跌 %d只 涨跌比例 %.2f:1 ;市场分数:%d ;",
               strongUp, strongDown, static_cast<int>(rising), static_cast<int>(falling),
               double{ratio}, score) +
        state.verdict;
    line.font = state.font;
    line.colour = state.colour;
    return line;
}

SellSignal getStockSellSingal(std::string_view code, std::string_view groupsOfStock,
                              const std::vector<GroupCount>& rankedFalling) {
    for (std::size_t i = 0; i < rankedFalling.size(); ++i) {
        const GroupCount& g = rankedFalling[i];
        if (g.name == kNoGroup) continue;
        const auto index = static_cast<std::int32_t>(i);
        if (g.reportShare() < 35.0f) return {0, index};
        if (utf16Length(g.name) > 1 && groupsOfStock.find(g.name) != std::string_view::npos)
            return {1, index};
        if (code.size() > 5 && g.codes.find(code) != std::string::npos) return {10, index};
    }
    return {0, static_cast<std::int32_t>(rankedFalling.size())};
}

}  // namespace orvane
