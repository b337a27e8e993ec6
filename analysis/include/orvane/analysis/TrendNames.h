#pragma once
// What a final trend code says, in the words of the verdicts: for lists and
// logs that show a code and want it read.

#include <cstdint>
#include <string_view>

namespace orvane {

/// "趋势不明" (0), "上涨趋势" (1), "下降趋势" (2), "盘整状态" (3),
/// "正在加速上涨" (1000), "突破关键点" (1001), else "没有判断出趋势".
std::string_view trendName(std::int64_t trend);

}  // namespace orvane
