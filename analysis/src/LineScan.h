#pragma once
// Reading a history text's day lines into the fields the engine uses.

#include <cstddef>

#include "orvane/analysis/HistoryLines.h"

namespace orvane {

/// Splits a day line on "," and reads the fields the engine uses. `readable`
/// is the bytes of the text from the line's start on: a line of under 64
/// bytes with 64 bytes readable (all but the last lines of a text) is read
/// sixteen bytes at a time.
void readDayLine(DayLine& line, std::size_t readable);

}  // namespace orvane
