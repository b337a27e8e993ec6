#pragma once
// Daily CSV in the layouts users' tools write, each as one file a stock or
// one file for many (the code then in a column), columns found by their
// names, never by their place:
//
//   ours      date, open, close, high, low, volume (lots); one CODE.csv a stock
//   akshare   日期, 股票代码, 开盘, 收盘, 最高, 最低, 成交量 (lots), 成交额 (yuan), ...
//   tushare   ts_code (000001.SZ), trade_date (YYYYMMDD), open, high, low, close,
//             pre_close, vol (lots), amount (thousand yuan); newest first
//   baostock  date, code (sh.600000), open, high, low, close, preclose,
//             volume (shares), amount (yuan), tradestatus (0: suspended), isST
//
// Prices are yuan in all of them; volumes become lots of 100 shares, the
// history's unit. The amount is not kept: the history has none. Our own
// layout is read by the strict reader of CsvHistory.h; this reader takes the
// other three.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/market/ImportedDays.h"
#include "orvane/market/SecurityCode.h"

namespace orvane {

enum class CsvLayout : std::uint8_t { Own, Akshare, Tushare, Baostock };

/// "akshare daily CSV" and the like, as messages name the layout.
std::string_view csvLayoutName(CsvLayout layout);

/// The layout whose columns a header line names, or nothing.
std::optional<CsvLayout> csvLayoutOfHeader(std::string_view headerLine);

struct LayoutCsvRead {
    std::optional<std::string> fault;  // the whole file cannot be read ("line 1: ...")
    struct Stock {
        SecurityCode code;
        std::vector<ImportedDay> days;  // in file order
    };
    std::vector<Stock> stocks;         // shares only, in the order first met
    std::vector<std::string> refused;  // "line N: why; refused"
    std::vector<std::string> beijing;  // Beijing codes met, left out
    std::size_t otherLines = 0;        // lines of indexes, funds and bonds, left out
    std::size_t suspendedDays = 0;     // baostock's tradestatus 0, left out
};

/// A file of `layout` (UTF-8, see UserText.h) read line by line: a line that
/// cannot be read (a date that is no date, a number that is none, a code
/// that is none) is refused and the rest kept. Without a code column every
/// line is `fileCode`'s (the file's name), and without either the file
/// cannot be read. A file larger than `pieceBytes` is read in pieces on
/// `jobs` threads (0: one per processor); its days carry `file`.
LayoutCsvRead readLayoutCsv(std::string_view text, CsvLayout layout,
                            const std::optional<SecurityCode>& fileCode, std::uint32_t file = 0,
                            int jobs = 1, std::size_t pieceBytes = 8u << 20);

}  // namespace orvane
