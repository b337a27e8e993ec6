#pragma once
// Quote symbols of the quote service: the market prefix and the six-digit
// code, "sh600000", "sz000001".

#include <optional>
#include <string>
#include <string_view>

namespace orvane::server {

/// "sh" for a code starting with "60" or "51", "sz" for every other code.
std::string_view marketPrefix(std::string_view code);

/// The six-digit code of a well-formed symbol whose prefix is its code's
/// market prefix ("sh600000" → "600000"); nothing otherwise ("sz600000",
/// "sh60000", "SH600000", "sh6000001").
std::optional<std::string> codeOfQuoteSymbol(std::string_view symbol);

}  // namespace orvane::server
