#pragma once
// Reading a history text's day lines into the fields the engine uses.

#include <cstddef>

#include "orvane/analysis/HistoryLines.h"

namespace orvane {

/// parseDayLine for a line of the text with `readable` bytes of the text
/// from its start on: a line of under 64 bytes with 64 bytes readable (all
/// but the last lines of a text) is read sixteen bytes at a time.
void readDayLine(DayLine& line, std::size_t readable);

}  // namespace orvane
