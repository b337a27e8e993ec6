#include "orvane/chart/KAverageValues.h"

#include "orvane/core/NumberText.h"

namespace orvane::chart {

std::array<KAverageText, 3> averageTextsFor(const KSection& day) {
    const auto text = [](const char* name, float value) {
        // An average is 0 until the list holds enough days for it.
        return value > 0 ? format("%s %.2f", name, static_cast<double>(value))
                         : format("%s --", name);
    };
    return {KAverageText{KAverage::MA5, text("MA5", day.ma5)},
            KAverageText{KAverage::MA10, text("MA10", day.ma10)},
            KAverageText{KAverage::MA20, text("MA20", day.ma20)}};
}

int legendDayOf(const KChartModel& model) {
    const int count = static_cast<int>(model.dataList().size());
    const int focus = model.focusDataIndex();
    if (focus >= 0 && focus < count) return focus;
    return count - 1;
}

}  // namespace orvane::chart
