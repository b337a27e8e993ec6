#pragma once
// Codes as other programs' data files write them ("600000", "sh600000",
// "sh.600000", "600000.SH", with the exchange or without), and which of them
// this program reads as shares: Shanghai's 60 and 68 and Shenzhen's 00 and 30.
// Indexes, funds, bonds and B shares are something else (a Shanghai index
// such as sh000001 would land on a Shenzhen share's code), and Beijing's
// codes are beyond the code rules of this program.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

enum class Exchange : std::uint8_t { Unknown, Shanghai, Shenzhen, Beijing };

struct SecurityCode {
    Exchange exchange = Exchange::Unknown;
    std::string code;  // six digits
};

/// The code and its exchange, when given, from any of the forms above (the
/// exchange's letters in either case); nothing for any other text.
std::optional<SecurityCode> parseSecurityCode(std::string_view text);

enum class SecurityKind : std::uint8_t {
    Share,    // a Shanghai or Shenzhen A share
    Beijing,  // a Beijing code (4, 8, 92) or a code on that exchange
    Other     // an index, a fund, a bond, a B share
};

SecurityKind securityKindOf(const SecurityCode& code);

}  // namespace orvane
