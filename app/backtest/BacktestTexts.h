#pragma once
// The back-test window's words: the groupings and groups in Chinese, the
// entry of a signal, the run's phase and how it ended, and percentages as the
// tables and plots show them. Pure, so the window only places them.

#include <cstddef>
#include <string>

#include "orvane/analysis/TrendNames.h"
#include "orvane/backtest/Backtest.h"

namespace orvane::app {

/// "按趋势", "按模型B", ...: the grouping pop-up's items.
std::string groupingName(backtest::Grouping grouping);
// A trend code's name is the shared one: trendName (TrendNames.h).
/// A group's key as the table's first column shows it ("1000", "是", "≥91", "2024-05").
std::string groupKeyText(backtest::Grouping grouping, const std::string& key);
/// A group's name: "正在加速上涨", "模型B", "得分91及以上", "2024年05月", "全部信号".
std::string groupLabel(backtest::Grouping grouping, const std::string& key);

/// "成交", "涨停价买入", "停牌未成交", "无后续交易日".
std::string entryText(backtest::Entry entry);

/// A fraction as a percentage with two decimals ("+1.25%", "62.50%"); "—"
/// for a missing figure.
std::string percentText(double fraction, bool withSign);
/// A figure that shows as zero ("+0.00%", "-0.00") without its sign.
std::string withoutSignOnZero(std::string text);

/// A count with thousands separators: "1,834,567".
std::string countText(std::size_t count);

/// The progress line: "正在读取行情文件…", "正在分析 120/5000 只股票", ...
/// (`loading`: the market's files are still being read).
std::string phaseText(bool loading, const backtest::Progress& progress);

/// Why a run gave no results, for the window's message line.
std::string failureText(backtest::Failure failure);

}  // namespace orvane::app
