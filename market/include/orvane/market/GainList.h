#pragma once
// The server's market gain lists (rising and falling stocks of one market):
// a header line, then "x,code,name,previous close,open,close,change%" lines.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/core/Value.h"

namespace orvane {

/// Rising lists (direction -1) keep changes above 2.5, falling lists (any
/// other direction) changes below -2.2; the change is read in single
/// precision and compared widened. Lines 1 to L-2 of the L lines are read,
/// so the header and the last line (empty after a final line break) never
/// count; lines without exactly 7 fields are skipped.
Array parseGainList(std::string_view text, std::int32_t raiseUpOrDown);

/// Whether the text is a gain list at all (a header or a line of seven
/// fields), not an error page or garbage.
bool isGainListText(std::string_view text);

/// Parses and writes the list as a property list (atomically, also when
/// empty); nothing once written, else what went wrong ("cannot write PATH:
/// CAUSE"), the old file untouched.
std::optional<std::string> pasrseGains_new(std::string_view text,
                                           const std::filesystem::path& savePath,
                                           std::int32_t raiseUpOrDown);

}  // namespace orvane
