#pragma once
// The stock result files the data server publishes: one "key=value" a line,
// every line ended by LF, the current day's keys first (a key that is the
// tail of another, "trend=" of "before_trend=", is only read right when its
// own line comes first). Numbers are written so that they read back exactly.

#include <string>
#include <string_view>

#include "orvane/publisher/DayVerdicts.h"

namespace orvane::server {

/// Today's file, with the before-5-days keys from `before5` (the verdict of
/// the day five trading days back; zeros when there is none).
std::string todayResultFile(std::string_view code, const DayVerdict& today,
                            const DayVerdict* before5);

/// An earlier day's file ("retdata/CODE/N.txt").
std::string earlierResultFile(std::string_view code, const DayVerdict& day);

/// The shortest text that reads back as the same float.
std::string floatText(float value);

}  // namespace orvane::server
