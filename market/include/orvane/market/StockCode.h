#pragma once
// What counts as a stock code, and the market prefix of quote requests.

#include <string_view>

namespace orvane {

/// Exactly 6 characters, each "0" to "9". Only such texts ever go into a
/// URL or a path.
bool isValidStockCode(std::string_view text);

/// "sh" for codes starting "60" or "51", "sz" for every other code.
std::string_view marketPrefix(std::string_view code);

}  // namespace orvane
