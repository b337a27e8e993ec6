#include "mainwindow/StockSearch.h"

#include "orvane/core/TextSplit.h"
#include "orvane/core/Value.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"

namespace orvane::app {

using namespace orvane::keys;

namespace {

constexpr const char* kWrongCode = "错误的股票代码";

}  // namespace

std::vector<std::string> completionStrings(const CodeTable& table, std::string_view key) {
    std::vector<std::string> out;
    for (const Value& entry : table.searchStockSubKey(key)) {
        const Dictionary& d = entry.dictionary();
        out.push_back(stringFor(d, STOCK_SC_Name) + " (" + stringFor(d, STOCK_Code) + ")    ");
    }
    return out;
}

std::string tokenDisplayString(std::string_view text) {
    const auto open = text.find('(');
    if (open == std::string_view::npos) return std::string(text);
    return std::string(text.substr(open + 1, 6));
}

std::string stockCaption(std::string_view titleFormat, std::string_view name,
                         std::string_view code) {
    std::string out;
    std::string_view args[] = {name, code};
    std::size_t next = 0;
    for (std::size_t i = 0; i < titleFormat.size(); ++i) {
        const bool placeholder = titleFormat[i] == '%' && i + 1 < titleFormat.size() &&
                                 (titleFormat[i + 1] == 's' || titleFormat[i + 1] == '@');
        if (placeholder && next < 2) {
            out += args[next++];
            ++i;
        } else {
            out += titleFormat[i];
        }
    }
    return out;
}

std::string sectorStatusLine(const SectorGroups& sectors, std::string_view code) {
    return sectors.getStockPlateProtity(code) + " \r\n";
}

SearchFieldChange searchTextChanged(std::string_view text, const SearchLookups& lookups) {
    SearchFieldChange change;
    const std::size_t length = utf16Length(text);
    if (length < 2) return change;
    if (length == 6 && isValidStockCode(text)) {
        if (auto name = lookups.codes.getStockCodeName(text)) {
            change.name = *name;
            change.status = sectorStatusLine(lookups.sectors, text);
            change.code = std::string(text);
        }
        change.addEnabled = !lookups.isHeld(text);
    } else if (length == 6) {
        change.status = kWrongCode;
        change.name = "";
        return change;
    } else if (auto found = lookups.codes.getStockCodeFromName(text)) {
        change.name = std::string(text);
        change.searchText = *found;
        change.code = *found;
        change.status = sectorStatusLine(lookups.sectors, *found);
    } else {
        change.status = kWrongCode;
        change.name = "";
    }
    change.clearVerdict = true;
    // The caption names the stock the text stands for, and nothing else: a
    // text that is no stock's code or name (12345, say) names none.
    if (change.code)
        change.caption =
            stockCaption(lookups.titleFormat,
                         lookups.codes.getStockCodeName(*change.code).value_or(""), *change.code);
    return change;
}

}  // namespace orvane::app
