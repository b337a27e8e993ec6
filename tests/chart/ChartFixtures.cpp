#include "ChartFixtures.h"

#include <cstdio>

#include "orvane/chart/KHistoryLoader.h"

namespace orvane::chart::test {

std::string historyText(const std::vector<Day>& days) {
    std::string text = "Date,Open,High,Low,Close,Volume,Adj Close\n";
    for (std::size_t i = days.size(); i-- > 0;) {
        const int month = static_cast<int>(i / 28) % 12 + 1;
        const int year = 2024 + static_cast<int>(i / (28 * 12));
        char line[160];
        std::snprintf(line, sizeof line, "%04d-%02d-%02d,%.2f,%.2f,%.2f,%.2f,%.0f,%.2f\n", year,
                      month, static_cast<int>(i % 28) + 1, days[i].open, days[i].high, days[i].low,
                      days[i].close, days[i].volume, days[i].close);
        text += line;
    }
    return text;
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
