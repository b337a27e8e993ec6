#pragma once
// The binary day files of the common Chinese desktop terminals:
// vipdoc/sh/lday/sh600000.day and vipdoc/sz/lday/sz000001.day, one 32-byte
// little-endian record a day, oldest first:
//
//   u32 date YYYYMMDD | u32 open, high, low, close in 1/100 yuan |
//   f32 amount in yuan | u32 volume in shares | u32 reserved
//
// Prices are read as yuan and the volume as lots of 100 shares, the units of
// the history; the amount is not kept (the history has none). Funds and
// bonds keep their prices in 1/1000 yuan in the same record, so only shares'
// files are read as days (SecurityCode.h tells which).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/ImportedDays.h"
#include "orvane/market/SecurityCode.h"

namespace orvane {

inline constexpr std::size_t kDayRecordSize = 32;

/// The code of a day file's name ("sh600000.day"); nothing for another name.
std::optional<SecurityCode> dayFileCode(std::string_view fileName);

struct DayFileRead {
    std::vector<ImportedDay> days;     // in file order, records counted from 1
    std::vector<std::string> refused;  // "record N: why; refused"
};

/// Every record of the file; a record whose date is no date is refused, and
/// bytes after the last whole record are named and left out. The days go to
/// `settleDays` next, with `file` as their file.
DayFileRead readDayFile(std::string_view bytes, std::uint32_t file = 0);

}  // namespace orvane
