#pragma once
// What a final trend code says, in the words of the verdicts: for lists,
// logs and tables that show a code and want it read. The one set of names
// of the codes: the command line, the window and the back-test all use it.

#include <cstdint>
#include <string_view>

namespace orvane {

/// "趋势不明" (0), "上涨趋势" (1), "下降趋势" (2), "盘整状态" (3),
/// "正在加速上涨" (1000), "突破关键点" (1001), else (−1 and any other code)
/// "没有判断出趋势".
std::string_view trendName(std::int64_t trend);

/// The same names in English, for the English tables and files of the
/// command line and the back-test: "unclear", "rising", "falling",
/// "sideways", "accelerating rise", "breakthrough of the key point", else
/// "no trend found".
std::string_view englishTrendName(std::int64_t trend);

}  // namespace orvane
