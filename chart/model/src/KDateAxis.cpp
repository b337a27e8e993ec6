#include "orvane/chart/KDateAxis.h"

#include <charconv>
#include <chrono>
#include <optional>

#include "orvane/core/NumberText.h"

namespace orvane::chart {

namespace {

struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;
    long serial = 0;  // days since 1970-01-01
};

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

/// "yyyy-MM-dd" (anything after the tenth character is ignored), or nothing.
std::optional<CalendarDay> parseDay(std::string_view text) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto y = number(text.substr(0, 4));
    const auto m = number(text.substr(5, 2));
    const auto d = number(text.substr(8, 2));
    if (!y || !m || !d) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(*y),
                                           std::chrono::month(static_cast<unsigned>(*m)),
                                           std::chrono::day(static_cast<unsigned>(*d))};
    if (!date.ok()) return std::nullopt;
    return CalendarDay{*y, *m, *d, std::chrono::sys_days(date).time_since_epoch().count()};
}

// Finest first: the first period whose labels fit is taken.
enum class Period { Day, Week, Month, Quarter, HalfYear, Year };
constexpr Period kPeriods[] = {Period::Day,     Period::Week,     Period::Month,
                               Period::Quarter, Period::HalfYear, Period::Year};

long periodOf(const CalendarDay& d, Period period) {
    switch (period) {
        case Period::Day:
            return d.serial;
        case Period::Week: {
            // Weeks start on Monday; 1970-01-01 was a Thursday.
            const long shifted = d.serial + 3;
            return shifted >= 0 ? shifted / 7 : (shifted - 6) / 7;
        }
        case Period::Month:
            return d.year * 12L + d.month - 1;
        case Period::Quarter:
            return d.year * 4L + (d.month - 1) / 3;
        case Period::HalfYear:
            return d.year * 2L + (d.month - 1) / 6;
        case Period::Year:
            break;
    }
    return d.year;
}

std::string labelText(const CalendarDay& d, Period period, bool opensYear) {
    switch (period) {
        case Period::Day:
        case Period::Week:
            return opensYear ? format("%04d-%02d-%02d", d.year, d.month, d.day)
                             : format("%02d-%02d", d.month, d.day);
        case Period::Year:
            return format("%04d", d.year);
        default:
            return format("%04d-%02d", d.year, d.month);
    }
}

constexpr float kTextIndent = 2;  // the text starts this far right of its tick

class TickPlanner {
  public:
    TickPlanner(const KChartModel& model, const TextWidth& textWidth, float axisWidth)
        : model_(model), textWidth_(textWidth), axisWidth_(axisWidth) {
        const int start = model.visibleStart();
        const int n = model.visibleCount();
        const auto& days = model.dataList();
        // One day before the window too: it tells whether the first visible
        // day opens a period.
        for (int i = start - 1; i < start + n; ++i)
            dates_.push_back(i >= 0 ? parseDay(days[static_cast<std::size_t>(i)].date)
                                    : std::nullopt);
    }

    /// The label at every start of a period among the visible days, left to
    /// right, up to the end of the axis. With `evenly`, nothing as soon as
    /// two labels would overlap (the period is too fine); otherwise a label
    /// that would overlap the one before is left out.
    std::optional<std::vector<KDateTick>> ticks(Period period, bool evenly) const {
        const KChartScale s = model_.scale();
        const int start = model_.visibleStart();
        std::vector<KDateTick> ticks;
        float free = -1;  // where the next label may start
        int lastYear = -1;
        for (std::size_t c = 0; c + 1 < dates_.size(); ++c) {
            const auto& before = dates_[c];
            const auto& day = dates_[c + 1];
            if (!day) continue;
            if (before && periodOf(*before, period) == periodOf(*day, period)) continue;
            const float x = s.centre(static_cast<int>(c));
            if (x < free) {
                if (evenly) return std::nullopt;
                continue;
            }
            std::string text = labelText(*day, period, day->year != lastYear);
            const float end = x + kTextIndent + textWidth_(text);
            if (end > axisWidth_) break;
            free = end + kDateLabelGap;
            lastYear = day->year;
            ticks.push_back({start + static_cast<int>(c), x, std::move(text)});
        }
        return ticks;
    }

  private:
    const KChartModel& model_;
    const TextWidth& textWidth_;
    float axisWidth_;
    std::vector<std::optional<CalendarDay>> dates_;
};

}  // namespace

std::vector<KDateTick> dateAxisTicks(const KChartModel& model, const TextWidth& textWidth,
                                     float axisWidth) {
    if (model.visibleCount() == 0) return {};
    const TickPlanner planner(model, textWidth, axisWidth);
    for (Period period : kPeriods)
        if (auto ticks = planner.ticks(period, true)) return std::move(*ticks);
    return *planner.ticks(Period::Year, false);
}

}  // namespace orvane::chart
