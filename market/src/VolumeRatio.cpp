#include "orvane/market/VolumeRatio.h"

#include <algorithm>

#include "orvane/market/QuoteUnits.h"

namespace orvane {

namespace {
constexpr int kMorningOpen = 9 * 60 + 30, kMorningClose = 11 * 60 + 30;
constexpr int kAfternoonOpen = 13 * 60, kAfternoonClose = 15 * 60;
constexpr std::size_t kPastDays = 5;
}  // namespace

int sessionMinutesBegun(const LocalDateTime& t) {
    const int minute = t.hour * 60 + t.minute;
    if (minute < kMorningOpen) return 0;
    if (minute < kMorningClose) return minute - kMorningOpen + 1;
    if (minute < kAfternoonOpen) return kMorningClose - kMorningOpen;
    if (minute < kAfternoonClose) return kMorningClose - kMorningOpen + minute - kAfternoonOpen + 1;
    return kSessionMinutes;
}

std::optional<double> volumeRatio(double todaySharesSoFar, const LocalDateTime& t,
                                  std::span<const double> pastDaysLots) {
    const int minutes = sessionMinutesBegun(t);
    const std::size_t days = std::min(pastDaysLots.size(), kPastDays);
    if (minutes == 0 || days == 0) return std::nullopt;
    double pastLots = 0;
    for (double lots : pastDaysLots.last(days)) pastLots += lots;
    const double pastPerMinute = sharesFromLots(pastLots) / (double(days) * kSessionMinutes);
    if (!(pastPerMinute > 0)) return std::nullopt;
    return todaySharesSoFar / minutes / pastPerMinute;
}

}  // namespace orvane
