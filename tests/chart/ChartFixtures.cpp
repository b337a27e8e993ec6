#include "ChartFixtures.h"

#include "HistoryBuilder.h"
#include "orvane/chart/KHistoryLoader.h"

namespace orvane::chart::test {

std::string historyText(const std::vector<Day>& days) {
    orvane::test::HistoryBuilder history("2024-12-31");
    for (auto day = days.rbegin(); day != days.rend(); ++day)
        history.candle(day->open, day->high, day->low, day->close, day->volume);
    return history.text();
}

std::vector<KSection> sections(const std::vector<Day>& days) {
    return parseKSections(historyText(days));
}

std::vector<Day> zigzagDays(int n) {
    std::vector<Day> days;
    for (int i = 0; i < n; ++i) {
        const float base = 10.0f + 0.05f * static_cast<float>(i);
        const bool rising = i % 2 == 0;
        const float open = rising ? base : base + 0.3f;
        const float close = rising ? base + 0.3f : base;
        days.push_back({open, base + 0.5f, base - 0.2f, close,
                        100000.0f + 5000.0f * static_cast<float>(i % 7)});
    }
    return days;
}

}  // namespace orvane::chart::test
