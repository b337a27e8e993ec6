#include "orvane/analysis/TrendNames.h"

namespace orvane {

std::string_view trendName(std::int64_t trend) {
    switch (trend) {
        case 0:
            return "趋势不明";
        case 1:
            return "上涨趋势";
        case 2:
            return "下降趋势";
        case 3:
            return "盘整状态";
        case 1000:
            return "正在加速上涨";
        case 1001:
            return "突破关键点";
        default:
            return "没有判断出趋势";
    }
}

}  // namespace orvane
