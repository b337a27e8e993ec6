#pragma once
// A market in our own layout (a folder of CODE.csv and a tushare stock_basic
// list) written again in the layouts of other tools, so that the importers
// can be held against our own reader on real data without keeping a copy of
// it. Numbers are carried over as their text (the day files' integers made
// from it without rounding), so the same market comes back.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace orvane::test {

struct WrittenMarket {
    std::filesystem::path data;       // what --data is given
    std::filesystem::path stockList;  // the stock list in the layout's own form
    /// Days whose volume in shares does not fit 32 bits and was capped
    /// (day files only), as "CODE yyyy-MM-dd".
    std::vector<std::string> cappedDays;
    std::size_t suspendedLines = 0;  // days written as suspended (baostock only)
};

/// vipdoc/{sh,sz}/lday/*.day, with an index (sh000001), a fund (sz159915)
/// and a Beijing stock (bj830799) beside the shares; a code list of akshare's
/// (code, name) in GB 18030.
WrittenMarket writeDayFiles(const std::filesystem::path& daily,
                            const std::filesystem::path& stockList,
                            const std::filesystem::path& out);

/// akshare's daily history, one file a stock in UTF-8 with a byte-order
/// mark, oldest first; the same code list as the day files'.
WrittenMarket writeAkshare(const std::filesystem::path& daily,
                           const std::filesystem::path& stockList,
                           const std::filesystem::path& out);

/// tushare's daily, one file for the whole market, newest day first; the
/// stock list as it is (tushare's stock_basic).
WrittenMarket writeTushare(const std::filesystem::path& daily,
                           const std::filesystem::path& stockList,
                           const std::filesystem::path& out);

/// baostock's daily k-data, one file a stock (sh.600000.csv), with a
/// suspended line (tradestatus 0) on each market day a stock has none
/// between its first and its last; baostock's list (code, tradeStatus,
/// code_name) with the exchanges' indexes among the shares.
WrittenMarket writeBaostock(const std::filesystem::path& daily,
                            const std::filesystem::path& stockList,
                            const std::filesystem::path& out);

}  // namespace orvane::test
