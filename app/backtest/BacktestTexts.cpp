#include "backtest/BacktestTexts.h"

#include <cmath>

#include "orvane/core/NumberText.h"

namespace orvane::app {

using backtest::Grouping;

std::string groupingName(Grouping grouping) {
    switch (grouping) {
        case Grouping::All:
            return "全部信号";
        case Grouping::Trend:
            return "按趋势";
        case Grouping::ModelB:
            return "按模型B";
        case Grouping::ScoreBand:
            return "按得分段";
        case Grouping::Month:
            return "按月份";
        case Grouping::Rule:
            return "按规则";
    }
    return {};
}

std::string groupKeyText(Grouping grouping, const std::string& key) {
    switch (grouping) {
        case Grouping::All:
            return "全部";
        case Grouping::ModelB:
            return key == "yes" ? "是" : "否";
        case Grouping::ScoreBand:
            return key == ">=91" ? "≥91" : "<91";
        case Grouping::Trend:
        case Grouping::Month:
        case Grouping::Rule:
            return key;
    }
    return key;
}

std::string groupLabel(Grouping grouping, const std::string& key) {
    switch (grouping) {
        case Grouping::All:
            return "全部信号";
        case Grouping::Trend:
            return std::string(trendName(std::stoi(key)));
        case Grouping::ModelB:
            return key == "yes" ? "模型B" : "非模型B";
        case Grouping::ScoreBand:
            return key == ">=91" ? "得分91及以上" : "得分91以下";
        case Grouping::Month:
            return key.size() == 7 ? key.substr(0, 4) + "年" + key.substr(5) + "月" : key;
        case Grouping::Rule:
            return "规则 " + key;
    }
    return key;
}

std::string entryText(backtest::Entry entry) {
    switch (entry) {
        case backtest::Entry::Filled:
            return "成交";
        case backtest::Entry::LimitUp:
            return "涨停价买入";
        case backtest::Entry::Suspended:
            return "停牌未成交";
        case backtest::Entry::NoLaterDay:
            return "无后续交易日";
    }
    return {};
}

std::string withoutSignOnZero(std::string text) {
    const bool signedText = !text.empty() && (text[0] == '+' || text[0] == '-');
    if (signedText && text.find_first_not_of("0.%", 1) == std::string::npos) text.erase(0, 1);
    return text;
}

std::string percentText(double fraction, bool withSign) {
    if (std::isnan(fraction)) return "—";
    return withoutSignOnZero(format(withSign ? "%+.2f%%" : "%.2f%%", fraction * 100));
}

std::string countText(std::size_t count) {
    std::string digits = std::to_string(count);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

std::string phaseText(bool loading, const backtest::Progress& p) {
    if (loading) return "正在读取行情文件…";
    switch (p.phase) {
        case backtest::Phase::Reading:
            return "正在整理行情 " + countText(p.done) + "/" + countText(p.total) + " 只股票";
        case backtest::Phase::Analysing:
            return "正在逐日分析 " + countText(p.done) + "/" + countText(p.total) + " 只股票";
        case backtest::Phase::Summarising:
            return "正在汇总各组收益…";
    }
    return {};
}

std::string failureText(backtest::Failure failure) {
    switch (failure) {
        case backtest::Failure::None:
            return {};
        case backtest::Failure::BadOptions:
            return "回测条件有误";
        case backtest::Failure::NoStocks:
            return "行情中没有可以读取价格的股票";
        case backtest::Failure::RangeOutsideData:
            return "所选日期范围内没有可以回测的交易日（每个信号日之前需要足够的历史数据）";
        case backtest::Failure::Stopped:
            return "回测已停止";
    }
    return {};
}

}  // namespace orvane::app
