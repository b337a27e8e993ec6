#include "holdings/HoldingFiles.h"

#include <algorithm>

#include "holdings/HoldingRows.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"
#include "platform/BoundedFileRead.h"

namespace orvane::app {

namespace fs = std::filesystem;

namespace {

/// A quote line names its stock before the quoted value
/// ("var hq_str_sh600000="): it must be the file's stock.
bool quotesStock(std::string_view text, std::string_view code) {
    const std::size_t value = text.find("=\"");
    return value != std::string_view::npos && value >= code.size() &&
           text.substr(value - code.size(), code.size()) == code;
}

}  // namespace

std::optional<StockRecord> readHoldingFile(const fs::path& file) {
    const std::string code = file.stem().string();
    const BoundedFileRead read = readBoundedFile(file, kHoldingFileLimit);
    if (read.outcome != BoundedFileRead::Outcome::Read ||
        read.bytes.find('\0') != std::string::npos)
        return std::nullopt;
    std::optional<std::string> text = gb18030ToUtf8(read.bytes);
    if (!text || !quotesStock(*text, code)) return std::nullopt;
    return parseSinaData(*text, code);
}

HoldingList readHoldings(const fs::path& folder) {
    // In name order, so that stocks of equal speed keep one order.
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    HoldingList rows, withoutQuote;
    for (const fs::path& file : files) {
        if (std::optional<StockRecord> row = readHoldingFile(file))
            rows.push_back(std::move(*row));
        else if (file.extension() == ".txt" && isValidStockCode(file.stem().string()))
            withoutQuote.push_back(holdingWithoutQuote(file.stem().string()));
    }
    sortHoldingsBySpeed(rows);
    rows.insert(rows.end(), withoutQuote.begin(), withoutQuote.end());
    return rows;
}

bool replaceHoldingQuote(const fs::path& folder, std::string_view code, std::string_view line) {
    const fs::path file = holdingFile(folder, code);
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return false;
    std::string bytes(line);
    bytes += '\n';
    return writeFileAtomically(file, bytes);
}

bool holdsStock(const fs::path& folder, std::string_view code) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().stem() == code) return true;
    return false;
}

std::optional<std::string> refusalToHold(std::string_view code, const CodeTable& table) {
    // The candidate search reads the table as the file is now: a reference
    // update while the program runs counts at once.
    if (isValidStockCode(code))
        for (const Value& entry : table.searchStockSubKey(code))
            if (stringFor(entry.dictionary(), keys::STOCK_Code) == code) return std::nullopt;
    return std::string(code) + " 不在股票代码表中，没有加入持仓";
}

fs::path holdingFile(const fs::path& folder, std::string_view code) {
    return folder / (std::string(code) + ".txt");
}

}  // namespace orvane::app
