#include "MarketLayouts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/core/TextSplit.h"

namespace fs = std::filesystem;

namespace orvane::test {

namespace {

struct Row {
    // texts as the file has them, in the file's text
    std::string_view date, open, high, low, close, volume, amount;
};

struct Stock {
    std::string code, name;
    std::string text;       // the file, which the rows are views of
    std::vector<Row> rows;  // oldest first
};

// The fields of a line (its '\r' left out), in `out`.
void fieldsOf(std::string_view line, std::vector<std::string_view>& out) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    splitOnInto(line, ',', out);
}

std::size_t columnOf(const std::vector<std::string_view>& header, std::string_view name) {
    const auto it = std::find(header.begin(), header.end(), name);
    if (it == header.end()) throw std::runtime_error("no column " + std::string(name));
    return static_cast<std::size_t>(it - header.begin());
}

std::map<std::string, std::string> namesOf(const fs::path& stockList) {
    std::ifstream in(stockList);
    std::string line;
    std::getline(in, line);
    std::vector<std::string_view> header, f;
    fieldsOf(line, header);
    const std::size_t code = columnOf(header, "symbol"), name = columnOf(header, "name");
    std::map<std::string, std::string> out;
    while (std::getline(in, line)) {
        fieldsOf(line, f);
        if (f.size() > std::max(code, name)) out[std::string(f[code])] = f[name];
    }
    return out;
}

std::vector<Stock> readOurMarket(const fs::path& daily, const fs::path& stockList) {
    const auto names = namesOf(stockList);
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(daily))
        if (e.path().extension() == ".csv") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::vector<Stock> out;
    out.reserve(files.size());  // never moved: the rows view each stock's text
    std::vector<std::string_view> h, f;
    for (const fs::path& file : files) {
        Stock& s = out.emplace_back();
        s.code = file.stem().string();
        const auto name = names.find(s.code);
        s.name = name != names.end() ? name->second : s.code;
        s.text = readFile(file).value();
        std::string_view rest = s.text;
        auto nextLine = [&] {
            const std::size_t nl = rest.find('\n');
            const std::string_view line = rest.substr(0, nl);
            rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
            return line;
        };
        fieldsOf(nextLine(), h);
        const std::size_t date = columnOf(h, "date"), open = columnOf(h, "open"),
                          high = columnOf(h, "high"), low = columnOf(h, "low"),
                          close = columnOf(h, "close"), volume = columnOf(h, "volume"),
                          amount = columnOf(h, "amount");
        while (!rest.empty()) {
            const std::string_view line = nextLine();
            if (line.empty()) continue;
            fieldsOf(line, f);
            f.resize(h.size());
            s.rows.push_back({f[date], f[open], f[high], f[low], f[close], f[volume], f[amount]});
        }
    }
    return out;
}

// The texts one after another, each after a comma but the first, and a line end.
void putLine(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) out += ',';
        out += field;
        first = false;
    }
    out += '\n';
}

std::string_view amountOf(const Row& r) {
    return r.amount.empty() ? std::string_view("0") : r.amount;
}

// "14.15" times 10^shift, exactly, as an integer ("1169259.33", 2 gives 116925933).
std::uint64_t scaled(std::string_view text, int shift) {
    const std::size_t dot = text.find('.');
    std::string whole(text.substr(0, dot)),
        fraction(dot == std::string::npos ? "" : text.substr(dot + 1));
    if (fraction.size() > static_cast<std::size_t>(shift))
        throw std::runtime_error(std::string(text) + " has more decimals than the layout keeps");
    fraction.resize(static_cast<std::size_t>(shift), '0');
    return std::stoull(whole + fraction);
}

std::string compactDate(std::string_view date) {
    std::string out(date.substr(0, 4));  // "yyyy-MM-dd" as "yyyyMMdd"
    out += date.substr(5, 2);
    out += date.substr(8, 2);
    return out;
}

bool shanghai(const std::string& code) {
    return code[0] == '6';
}

void put(std::string& out, std::uint32_t v) {
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
}

std::string dayRecord(std::uint32_t date, std::uint32_t open, std::uint32_t high, std::uint32_t low,
                      std::uint32_t close, float amount, std::uint32_t volume) {
    std::string r;
    for (std::uint32_t v : {date, open, high, low, close}) put(r, v);
    std::uint32_t a;
    std::memcpy(&a, &amount, 4);
    put(r, a);
    put(r, volume);
    put(r, 0);
    return r;
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// akshare's code list (code, name), in GB 18030 as spreadsheets save it.
fs::path writeAkshareList(const std::vector<Stock>& stocks, const fs::path& file) {
    std::string text = "code,name\n";
    for (const Stock& s : stocks) text += s.code + "," + s.name + "\n";
    writeBytes(file, *utf8ToGb18030(text));
    return file;
}

}  // namespace

WrittenMarket writeDayFiles(const fs::path& daily, const fs::path& stockList, const fs::path& out) {
    const auto stocks = readOurMarket(daily, stockList);
    WrittenMarket written{out, writeAkshareList(stocks, out / "codes.csv"), {}, 0};
    const fs::path vipdoc = out / "vipdoc";
    for (const Stock& s : stocks) {
        std::string bytes;
        for (const Row& r : s.rows) {
            std::uint64_t shares = scaled(r.volume, 2);
            if (shares > std::numeric_limits<std::uint32_t>::max()) {
                shares = std::numeric_limits<std::uint32_t>::max();
                written.cappedDays.push_back(s.code + " " + std::string(r.date));
            }
            bytes += dayRecord(static_cast<std::uint32_t>(std::stoul(compactDate(r.date))),
                               static_cast<std::uint32_t>(scaled(r.open, 2)),
                               static_cast<std::uint32_t>(scaled(r.high, 2)),
                               static_cast<std::uint32_t>(scaled(r.low, 2)),
                               static_cast<std::uint32_t>(scaled(r.close, 2)),
                               r.amount.empty() ? 0.0f : std::stof(std::string(r.amount)),
                               static_cast<std::uint32_t>(shares));
        }
        const std::string exchange = shanghai(s.code) ? "sh" : "sz";
        writeBytes(vipdoc / exchange / "lday" / (exchange + s.code + ".day"), bytes);
    }
    // Files that are no shares': an index on a Shenzhen share's code, a fund
    // priced in 1/1000 yuan and a Beijing stock.
    const std::string index =
        dayRecord(20250902, 3800000, 3900000, 3700000, 3850000, 1e12f, 400000000) +
        dayRecord(20250903, 3850000, 3860000, 3800000, 3810000, 1e12f, 410000000);
    writeBytes(vipdoc / "sh" / "lday" / "sh000001.day", index);
    writeBytes(vipdoc / "sz" / "lday" / "sz159915.day",
               dayRecord(20250903, 2345, 2400, 2300, 2390, 1e9f, 50000000));
    writeBytes(vipdoc / "bj" / "lday" / "bj830799.day",
               dayRecord(20250903, 2345, 2400, 2300, 2390, 1e9f, 50000000));
    return written;
}

WrittenMarket writeAkshare(const fs::path& daily, const fs::path& stockList, const fs::path& out) {
    const auto stocks = readOurMarket(daily, stockList);
    WrittenMarket written{out / "daily", writeAkshareList(stocks, out / "codes.csv"), {}, 0};
    for (const Stock& s : stocks) {
        std::string text =
            "\xEF\xBB\xBF日期,股票代码,开盘,收盘,最高,最低,成交量,成交额,振幅,涨跌幅,涨跌额,"
            "换手率\n";
        for (const Row& r : s.rows)
            putLine(text, {r.date, s.code, r.open, r.close, r.high, r.low, r.volume, amountOf(r),
                           "0", "0", "0", "0"});
        writeBytes(written.data / (s.code + ".csv"), text);
    }
    return written;
}

WrittenMarket writeTushare(const fs::path& daily, const fs::path& stockList, const fs::path& out) {
    const auto stocks = readOurMarket(daily, stockList);
    WrittenMarket written{out / "daily.csv", stockList, {}, 0};
    fs::create_directories(out);
    std::set<std::string_view, std::greater<>> dates;
    for (const Stock& s : stocks)
        for (const Row& r : s.rows) dates.insert(r.date);
    // Newest day first, every stock of a day together, as tushare answers.
    std::vector<std::size_t> next(stocks.size());
    for (std::size_t i = 0; i < stocks.size(); ++i) next[i] = stocks[i].rows.size();
    std::string text =
        "ts_code,trade_date,open,high,low,close,pre_close,change,pct_chg,vol,amount\n";
    for (std::string_view date : dates)
        for (std::size_t i = 0; i < stocks.size(); ++i) {
            const Stock& s = stocks[i];
            if (next[i] == 0 || s.rows[next[i] - 1].date != date) continue;
            const Row& r = s.rows[--next[i]];
            const std::string_view previous = next[i] > 0 ? s.rows[next[i] - 1].close : r.open;
            putLine(text, {s.code + (shanghai(s.code) ? ".SH" : ".SZ"), compactDate(r.date), r.open,
                           r.high, r.low, r.close, previous, "0", "0", r.volume, amountOf(r)});
        }
    writeBytes(written.data, text);
    return written;
}

WrittenMarket writeBaostock(const fs::path& daily, const fs::path& stockList, const fs::path& out) {
    const auto stocks = readOurMarket(daily, stockList);
    WrittenMarket written{out / "daily", out / "stock_basic.csv", {}, 0};
    std::string list =
        "code,tradeStatus,code_name\nsh.000001,1,上证综合指数\nsz.399001,1,深证成份指数\n";
    for (const Stock& s : stocks)
        list += std::string(shanghai(s.code) ? "sh." : "sz.") + s.code + ",1," + s.name + "\n";
    writeBytes(written.stockList, list);
    std::set<std::string_view> dates;
    for (const Stock& s : stocks)
        for (const Row& r : s.rows) dates.insert(r.date);
    for (const Stock& s : stocks) {
        const std::string code = (shanghai(s.code) ? "sh." : "sz.") + s.code;
        std::string text =
            "date,code,open,high,low,close,preclose,volume,amount,adjustflag,turn,tradestatus,"
            "pctChg,isST\n";
        std::size_t at = 0;
        for (auto d = dates.find(s.rows.front().date); d != dates.end() && at < s.rows.size();
             ++d) {
            const std::string_view previous = at > 0 ? s.rows[at - 1].close : s.rows[0].open;
            if (*d != s.rows[at].date) {
                // A suspended day: the last close, no trade.
                putLine(text, {*d, code, previous, previous, previous, previous, previous, "", "",
                               "3", "", "0", "0.000000", "0"});
                ++written.suspendedLines;
                continue;
            }
            const Row& r = s.rows[at++];
            putLine(text, {r.date, code, r.open, r.high, r.low, r.close, previous,
                           std::to_string(scaled(r.volume, 2)), amountOf(r), "3", "0.5", "1",
                           "0.000000", "0"});
        }
        writeBytes(written.data / (code + ".csv"), text);
    }
    return written;
}

}  // namespace orvane::test
