#include "orvane/market/SecurityCode.h"

#include "orvane/market/StockCode.h"

namespace orvane {

namespace {

std::optional<Exchange> exchangeOf(std::string_view letters) {
    if (letters.size() != 2) return std::nullopt;
    const char a = static_cast<char>(letters[0] | 0x20), b = static_cast<char>(letters[1] | 0x20);
    if (a == 's' && b == 'h') return Exchange::Shanghai;
    if (a == 's' && b == 'z') return Exchange::Shenzhen;
    if (a == 'b' && b == 'j') return Exchange::Beijing;
    return std::nullopt;
}

}  // namespace

std::optional<SecurityCode> parseSecurityCode(std::string_view text) {
    SecurityCode out;
    std::string_view digits = text;
    if (text.size() == 8 || (text.size() == 9 && text[2] == '.')) {
        // sh600000, sh.600000
        auto exchange = exchangeOf(text.substr(0, 2));
        if (!exchange) return std::nullopt;
        out.exchange = *exchange;
        digits = text.substr(text.size() - 6);
    } else if (text.size() == 9 && text[6] == '.') {
        // 600000.SH
        auto exchange = exchangeOf(text.substr(7));
        if (!exchange) return std::nullopt;
        out.exchange = *exchange;
        digits = text.substr(0, 6);
    }
    if (!isValidStockCode(digits)) return std::nullopt;
    out.code = std::string(digits);
    return out;
}

SecurityKind securityKindOf(const SecurityCode& code) {
    const std::string_view c = code.code;
    if (code.exchange == Exchange::Beijing || c.starts_with('4') || c.starts_with('8') ||
        c.starts_with("92"))
        return SecurityKind::Beijing;
    const bool shanghai = c.starts_with("60") || c.starts_with("68");
    const bool shenzhen = c.starts_with("00") || c.starts_with("30");
    if (shanghai && code.exchange != Exchange::Shenzhen) return SecurityKind::Share;
    if (shenzhen && code.exchange != Exchange::Shanghai) return SecurityKind::Share;
    return SecurityKind::Other;
}

}  // namespace orvane
