#include "orvane/analysis/TrendNames.h"

#include <algorithm>
#include <array>

namespace orvane {

namespace {

struct TrendWords {
    std::int64_t code;
    std::string_view chinese, english;
};

constexpr std::array<TrendWords, 6> kTrendWords = {{
    {0, "趋势不明", "unclear"},
    {1, "上涨趋势", "rising"},
    {2, "下降趋势", "falling"},
    {3, "盘整状态", "sideways"},
    {1000, "正在加速上涨", "accelerating rise"},
    {1001, "突破关键点", "breakthrough of the key point"},
}};
// −1, and any code the engine does not give.
constexpr TrendWords kNoTrend = {-1, "没有判断出趋势", "no trend found"};

const TrendWords& wordsOf(std::int64_t trend) {
    const auto it = std::find_if(kTrendWords.begin(), kTrendWords.end(),
                                 [trend](const TrendWords& w) { return w.code == trend; });
    return it == kTrendWords.end() ? kNoTrend : *it;
}

}  // namespace

std::string_view trendName(std::int64_t trend) {
    return wordsOf(trend).chinese;
}

std::string_view englishTrendName(std::int64_t trend) {
    return wordsOf(trend).english;
}

}  // namespace orvane
