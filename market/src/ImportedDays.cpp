#include "orvane/market/ImportedDays.h"

#include <algorithm>
#include <tuple>

#include "orvane/market/DayPlausibility.h"

namespace orvane {

namespace {

bool earlier(const ImportedDay& a, const ImportedDay& b) {
    return a.bar.date < b.bar.date;
}

}  // namespace

SettledDays settleDays(std::vector<ImportedDay> days, std::string_view today) {
    // Most inputs come in one order or the other; a date read twice keeps
    // its first reading first.
    auto before = [](const ImportedDay& a, const ImportedDay& b) {
        return std::tie(a.bar.date, a.file, a.line) < std::tie(b.bar.date, b.file, b.line);
    };
    if (!std::is_sorted(days.begin(), days.end(), earlier) &&
        std::is_sorted(days.rbegin(), days.rend(), earlier))
        std::reverse(days.begin(), days.end());
    if (!std::is_sorted(days.begin(), days.end(), before))
        std::sort(days.begin(), days.end(), before);
    SettledDays out;
    out.bars.reserve(days.size());
    for (ImportedDay& day : days) {
        std::optional<std::string> why;
        if (!out.bars.empty() && day.bar.date == out.bars.back().date)
            why = day.bar.date + " is there already";
        else
            why = impossibilityOf(day.bar, today);
        if (!why && !out.bars.empty()) why = impossibleMoveFrom(out.bars.back().close, day.bar);
        if (why) {
            out.refused.push_back({day.file, day.line, *why + "; refused"});
            continue;
        }
        out.bars.push_back(std::move(day.bar));
    }
    return out;
}

}  // namespace orvane
