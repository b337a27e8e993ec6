#pragma once
// 量比: today's volume per minute of the session so far, against the mean
// volume per minute of the last five trading days.

#include <optional>
#include <span>

#include "orvane/core/LocalTime.h"

namespace orvane {

/// Minutes of the four-hour session (9:30–11:30, 13:00–15:00) begun by `t`:
/// 0 before 9:30, 1 during the first minute, 120 over the lunch break, 240
/// from 15:00.
int sessionMinutesBegun(const LocalDateTime& t);

inline constexpr int kSessionMinutes = 240;

/// The ratio for today's volume in shares (the quote's) at `t`, with the
/// last days' volumes in lots (the history's; the five most recent are
/// used). Nothing before the session, without past days, or when they
/// traded nothing.
std::optional<double> volumeRatio(double todaySharesSoFar, const LocalDateTime& t,
                                  std::span<const double> pastDaysLots);

}  // namespace orvane
