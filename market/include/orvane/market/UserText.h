#pragma once
// A text file a user brings (a daily CSV, a stock list) as UTF-8: with or
// without a byte-order mark, or in GB 18030 as Chinese spreadsheets and
// older tools save it.

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

/// The bytes as UTF-8 without a byte-order mark: as they are when they are
/// UTF-8, else converted from GB 18030; nothing when they are neither.
std::optional<std::string> userTextAsUtf8(std::string_view bytes);

/// The same in place, for a large file read whole, a byte-order mark left
/// for the reader to pass over; false, the text as it was, when it is neither.
bool makeUtf8(std::string& text);

}  // namespace orvane
