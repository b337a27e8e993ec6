// The publisher's stock list (CSV) on arbitrary bytes. Every stock it reads
// goes into the code table the archive carries (UTF-16, a line a stock,
// fields apart by control characters); each must come back from the table,
// in order, with its code, name and initials, or the search would lose it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "FuzzFolder.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/publisher/MarketImport.h"
#include "orvane/publisher/PinyinInitials.h"
#include "orvane/publisher/ReferenceData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const orvane::fuzz::FuzzFolder folder;
    static const std::filesystem::path file = folder.path() / "stocks.csv";
    if (!orvane::writeFileAtomically(file,
                                     std::string_view(reinterpret_cast<const char*>(data), size)))
        __builtin_trap();
    const auto stocks = orvane::server::readStockList(file, [](const std::string&) {});
    // A name that is no UTF-8 stops the archive with a message.
    const auto table = orvane::utf8ToUtf16(orvane::server::codeTableText(stocks));
    if (!table) return 0;
    const auto entries = orvane::parseCodeTable(*table);
    if (entries.size() != stocks.size()) __builtin_trap();
    for (std::size_t i = 0; i < stocks.size(); ++i) {
        const auto& s = stocks[i];
        const std::string initials =
            s.pinyin.empty() ? orvane::server::pinyinInitials(s.name) : s.pinyin;
        if (entries[i].code != s.code || entries[i].name != s.name || entries[i].pinyin != initials)
            __builtin_trap();
    }
    return 0;
}
