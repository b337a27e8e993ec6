// The stock rule's reader: any text gives a rule or a fault inside the text,
// and a rule written out reads back to the same rule.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvane/market/StockRule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = orvane::parseStockRule(text);
    if (const auto* error = std::get_if<orvane::RuleError>(&parsed)) {
        if (error->column < 1 || error->column > size + 1 || error->message.empty())
            __builtin_trap();
        return 0;
    }
    const orvane::StockRule& rule = std::get<orvane::StockRule>(parsed);
    const auto again = orvane::parseStockRule(orvane::stockRuleText(rule));
    const auto* reread = std::get_if<orvane::StockRule>(&again);
    if (!reread || !(*reread == rule)) __builtin_trap();
    orvane::StockFacts facts;
    facts.code = "600000";
    (void)orvane::evaluateRule(rule, facts);
    return 0;
}
