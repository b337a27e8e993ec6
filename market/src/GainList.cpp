#include "orvane/market/GainList.h"

#include "orvane/core/NumberText.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/ListText.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

Array parseGainList(std::string_view text, std::int32_t raiseUpOrDown) {
    Array out;
    const auto lines = splitLines(text);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const auto f = splitOn(lines[i], ',');
        if (f.size() != 7) continue;
        const float change = leadingFloat(f[6]);
        const bool taken = raiseUpOrDown == -1 ? static_cast<double>(change) > 2.5
                                               : static_cast<double>(change) < -2.2;
        if (!taken) continue;
        using namespace keys;
        out.emplace_back(Dictionary{
            {STOCK_Code, f[1]},
            {STOCK_SC_Name, f[2]},
            {STOCK_YesClosePrice, f[3]},
            {STOCK_OpenPrice, f[4]},
            {STOCK_closePrice, f[5]},
        });
    }
    return out;
}

bool isGainListText(std::string_view text) {
    return isServerListText(text, 7, 1);
}

std::optional<std::string> pasrseGains_new(std::string_view text,
                                           const std::filesystem::path& savePath,
                                           std::int32_t raiseUpOrDown) {
    return replacePropertyList(savePath, parseGainList(text, raiseUpOrDown));
}

}  // namespace orvane
