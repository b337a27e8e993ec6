#include "orvane/market/ImportedDays.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "orvane/core/LocalTime.h"
#include "orvane/market/DayPlausibility.h"

namespace orvane {

std::uint32_t importedDate(std::string_view text) {
    char dashed[10];
    if (text.size() == 8) {
        // YYYYMMDD, read through the same check as "yyyy-MM-dd"
        std::memcpy(dashed, text.data(), 4);
        dashed[4] = '-';
        std::memcpy(dashed + 5, text.data() + 4, 2);
        dashed[7] = '-';
        std::memcpy(dashed + 8, text.data() + 6, 2);
        text = std::string_view(dashed, 10);
    }
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return 0;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return 0;
    if (!parseDate(text)) return 0;
    std::uint32_t n = 0;
    for (char c : text)
        if (c != '-') n = n * 10 + static_cast<std::uint32_t>(c - '0');
    return n;
}

DailyBar ImportedDay::bar() const {
    char text[10] = {'0', '0', '0', '0', '-', '0', '0', '-', '0', '0'};
    std::uint32_t rest = date;
    for (int i : {9, 8, 6, 5, 3, 2, 1, 0}) {
        text[i] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    return {std::string(text, 10), open, high, low, close, volume};
}

namespace {

bool earlier(const ImportedDay& a, const ImportedDay& b) {
    return a.date < b.date;
}

}  // namespace

SettledDays settleDays(std::vector<ImportedDay> days, std::string_view today) {
    // Most inputs come in one order or the other; a date read twice keeps
    // its first reading first.
    auto before = [](const ImportedDay& a, const ImportedDay& b) {
        return std::tie(a.date, a.file, a.line) < std::tie(b.date, b.file, b.line);
    };
    if (!std::is_sorted(days.begin(), days.end(), earlier) &&
        std::is_sorted(days.rbegin(), days.rend(), earlier))
        std::reverse(days.begin(), days.end());
    if (!std::is_sorted(days.begin(), days.end(), before))
        std::sort(days.begin(), days.end(), before);
    SettledDays out;
    out.bars.reserve(days.size());
    out.previousCloses.reserve(days.size());
    out.adjustmentFactors.reserve(days.size());
    std::uint32_t lastDate = 0;
    for (const ImportedDay& imported : days) {
        DailyBar day = imported.bar();
        std::optional<std::string> why;
        if (!out.bars.empty() && imported.date == lastDate)
            why = day.date + " is there already";
        else
            why = impossibilityOf(day, today);
        if (!why && !out.bars.empty()) why = impossibleMoveFrom(out.bars.back().close, day);
        if (why) {
            out.refused.push_back({imported.file, imported.line, *why + "; refused"});
            continue;
        }
        out.bars.push_back(std::move(day));
        out.previousCloses.push_back(imported.previousClose);
        out.adjustmentFactors.push_back(imported.adjustmentFactor);
        lastDate = imported.date;
    }
    for (auto* told : {&out.previousCloses, &out.adjustmentFactors})
        if (std::all_of(told->begin(), told->end(), [](double v) { return v == 0; }))
            *told = {};  // its room too: the market keeps it for its life
    return out;
}

}  // namespace orvane
