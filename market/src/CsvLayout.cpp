#include "orvane/market/CsvLayout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/core/TextSplit.h"

namespace orvane {

namespace {

// The fields a day needs, in this order in every table below.
// The last two tell of ex-rights days where a layout has them: the
// exchange's previous close and a vendor's cumulative adjustment factor.
enum Field : std::size_t {
    Date,
    Code,
    Open,
    High,
    Low,
    Close,
    Volume,
    Status,
    PreviousClose,
    AdjustmentFactor,
    kFields
};

// Columns after this many are never looked at: no layout puts a day's
// fields so far to the right.
constexpr std::size_t kMostColumns = 64;
constexpr std::array<const char*, kFields> kFieldNames = {
    "date",  "code",   "open",         "high",           "low",
    "close", "volume", "trade status", "previous close", "adjustment factor"};

struct LayoutColumns {
    std::array<const char*, kFields> names;  // nullptr: the layout has no such column
    double unitsPerLot;                      // volume units in a lot of 100 shares
};

LayoutColumns columnsOf(CsvLayout layout) {
    switch (layout) {
        case CsvLayout::Akshare:
            return {{"日期", "股票代码", "开盘", "最高", "最低", "收盘", "成交量", nullptr, nullptr,
                     "adj_factor"},
                    1.0};
        case CsvLayout::Tushare:
            return {{"trade_date", "ts_code", "open", "high", "low", "close", "vol", nullptr,
                     "pre_close", "adj_factor"},
                    1.0};
        case CsvLayout::Baostock:
            return {{"date", "code", "open", "high", "low", "close", "volume", "tradestatus",
                     "preclose", "adj_factor"},
                    100.0};
        case CsvLayout::Own:
            break;
    }
    return {{"date", nullptr, "open", "high", "low", "close", "volume", nullptr, nullptr, nullptr},
            1.0};
}

std::string_view trim(std::string_view s) {
    return trimCsvField(s);
}

bool sameName(std::string_view header, const char* name) {
    header = trim(header);
    const std::size_t n = std::strlen(name);
    if (header.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = header[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != name[i]) return false;
    }
    return true;
}

bool hasColumn(const std::vector<std::string_view>& header, const char* name) {
    for (std::string_view h : header)
        if (sameName(h, name)) return true;
    return false;
}

// Where each field's column is (-1: none).
std::array<int, kFields> findColumns(const std::vector<std::string_view>& header,
                                     const LayoutColumns& columns) {
    std::array<int, kFields> at;
    at.fill(-1);
    for (std::size_t f = 0; f < kFields; ++f)
        for (std::size_t i = 0; i < std::min(header.size(), kMostColumns) && columns.names[f]; ++i)
            if (sameName(header[i], columns.names[f])) {
                at[f] = static_cast<int>(i);
                break;
            }
    return at;
}

// One line read: a day of a share, a line left out, or why it is refused.
struct LineRead {
    enum Kind : std::uint8_t { Day, Refused, Beijing, Other, Suspended, Blank } kind = Blank;
    std::string code;  // the day's code, or the Beijing code
    Exchange exchange = Exchange::Unknown;
    ImportedDay day;
    std::string why;
    // The code field of the line before, as read: a whole-market file gives
    // one stock's days one after another.
    std::string codeText;
    bool codeTextRead = false;
};

class LineReader {
  public:
    LineReader(const std::array<int, kFields>& at, double unitsPerLot,
               const std::optional<SecurityCode>& fileCode)
        : at_(at), unitsPerLot_(unitsPerLot), fileCode_(fileCode) {
        for (int c : at) needed_ = std::max(needed_, static_cast<std::size_t>(c + 1));
    }

    void read(std::string_view line, LineRead& out) const {
        if (line.size() > kLongestCsvLine) {
            out.kind = LineRead::Refused;
            out.why = "longer than " + std::to_string(kLongestCsvLine >> 20) + " MB";
            return;
        }
        if (trim(line).empty()) return;
        // The fields up to the last column wanted; the rest of the line is
        // never split.
        std::array<std::string_view, kMostColumns> f;
        std::size_t fields = 0;
        for (std::string_view rest = line; fields < needed_;) {
            const std::size_t comma = rest.find(',');
            f[fields++] = rest.substr(0, comma);
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
        auto field = [&](Field which) {
            const int c = at_[which];
            return c >= 0 && static_cast<std::size_t>(c) < fields
                       ? trim(f[static_cast<std::size_t>(c)])
                       : std::string_view();
        };
        out.kind = LineRead::Refused;
        if (at_[Code] >= 0) {
            const std::string_view text = field(Code);
            if (!out.codeTextRead || text != out.codeText) {
                auto code = parseSecurityCode(text);
                out.codeText = text;
                out.codeTextRead = code.has_value();
                if (!code) {
                    out.why = "the code " + quotedField(text) + " is not a stock code";
                    return;
                }
                out.code = std::move(code->code);
                out.exchange = code->exchange;
            }
        } else {
            out.code = fileCode_->code;
            out.exchange = fileCode_->exchange;
        }
        switch (securityKindOf({out.exchange, out.code})) {
            case SecurityKind::Share:
                break;
            case SecurityKind::Beijing:
                out.kind = LineRead::Beijing;
                return;
            case SecurityKind::Other:
                out.kind = LineRead::Other;
                return;
        }
        if (at_[Status] >= 0 && field(Status) == "0") {
            out.kind = LineRead::Suspended;
            return;
        }
        out.day.date = importedDate(field(Date));
        if (!out.day.date) {
            out.why = quotedField(field(Date)) + " is not a date";
            return;
        }
        double value[kFields] = {};
        for (Field n : {Open, High, Low, Close, Volume}) {
            const std::string_view text = field(n);
            const auto number = csvNumber(text);
            if (!number) {
                out.why = std::string("the ") + kFieldNames[n] + " " + quotedField(text) +
                          " is not a number";
                return;
            }
            value[n] = *number;
        }
        out.day.open = value[Open];
        out.day.high = value[High];
        out.day.low = value[Low];
        out.day.close = value[Close];
        const double volume = value[Volume];
        // Divided, not multiplied by 0.01: shares / 100 is the double a
        // lots text gives, so the same day reads the same from any layout.
        out.day.volume = unitsPerLot_ == 1.0 ? volume : volume / unitsPerLot_;
        // What tells of ex-rights days is taken where it reads as a price or
        // a factor, and left at 0 (unknown) otherwise: it never refuses a day.
        for (auto [n, to] : {std::pair{PreviousClose, &out.day.previousClose},
                             std::pair{AdjustmentFactor, &out.day.adjustmentFactor}})
            if (at_[n] >= 0)
                if (const auto number = csvNumber(field(n)); number && *number > 0) *to = *number;
        out.kind = LineRead::Day;
    }

  private:
    std::array<int, kFields> at_;
    double unitsPerLot_;
    std::optional<SecurityCode> fileCode_;
    std::size_t needed_ = 0;  // fields a line is split into
};

// Six digits as a number, a cheaper key than the text.
std::uint32_t codeNumber(std::string_view code) {
    std::uint32_t n = 0;
    for (char c : code) n = n * 10 + static_cast<std::uint32_t>(c - '0');
    return n;
}

// The text after the header cut into pieces at line ends, for threads.
std::vector<std::string_view> chunksOf(std::string_view body, std::size_t pieces) {
    std::vector<std::string_view> out;
    const std::size_t target = body.size() / pieces + 1;
    while (!body.empty()) {
        std::size_t end = body.size();
        if (body.size() > target) {
            const std::size_t nl = body.find('\n', target);
            end = nl == std::string_view::npos ? body.size() : nl + 1;
        }
        out.push_back(body.substr(0, end));
        body.remove_prefix(end);
    }
    return out;
}

// Lines of a piece of text: each '\n' ends one (a last line without it too).
template <class F>
void forEachLine(std::string_view text, F&& f) {
    std::uint32_t n = 0;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        const std::string_view line = text.substr(0, nl);
        f(line, n++);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
}

}  // namespace

std::string_view csvLayoutName(CsvLayout layout) {
    switch (layout) {
        case CsvLayout::Akshare:
            return "akshare daily CSV";
        case CsvLayout::Tushare:
            return "tushare daily CSV";
        case CsvLayout::Baostock:
            return "baostock daily k-data CSV";
        case CsvLayout::Own:
            break;
    }
    return "our daily CSV (CODE.csv)";
}

std::optional<CsvLayout> csvLayoutOfHeader(std::string_view headerLine) {
    if (headerLine.starts_with("\xEF\xBB\xBF")) headerLine.remove_prefix(3);
    const std::vector<std::string_view> header = splitOn(headerLine, ',');
    auto all = [&](std::initializer_list<const char*> names) {
        for (const char* name : names)
            if (!hasColumn(header, name)) return false;
        return true;
    };
    if (all({"日期", "开盘"})) return CsvLayout::Akshare;
    if (all({"ts_code", "trade_date"})) return CsvLayout::Tushare;
    if (all({"date", "code", "volume"})) return CsvLayout::Baostock;
    if (all({"date", "open", "high", "low", "close", "volume"})) return CsvLayout::Own;
    return std::nullopt;
}

LayoutCsvRead readLayoutCsv(std::string_view text, CsvLayout layout,
                            const std::optional<SecurityCode>& fileCode, std::uint32_t file,
                            int jobs, std::size_t pieceBytes) {
    LayoutCsvRead out;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (text.find_first_not_of(" \t\r\n\"") == std::string_view::npos) {
        out.fault = "the file is empty";
        return out;
    }
    const std::size_t headerEnd = std::min(text.find('\n'), text.size());
    if (headerEnd > kLongestCsvLine) {
        out.fault = "line 1: longer than " + std::to_string(kLongestCsvLine >> 20) + " MB";
        return out;
    }
    const LayoutColumns columns = columnsOf(layout);
    const std::array<int, kFields> at =
        findColumns(splitOn(text.substr(0, headerEnd), ','), columns);
    for (Field f : {Date, Open, High, Low, Close, Volume})
        if (at[f] < 0) {
            out.fault = std::string("line 1: no \"") + columns.names[f] + "\" column (the " +
                        kFieldNames[f] + ") in the header of the " +
                        std::string(csvLayoutName(layout));
            return out;
        }
    if (at[Code] < 0 && !fileCode) {
        out.fault = std::string("line 1: no \"") +
                    (columns.names[Code] ? columns.names[Code] : "code") +
                    "\" column, and the file's name is no stock code";
        return out;
    }
    const std::string_view body =
        headerEnd < text.size() ? text.substr(headerEnd + 1) : std::string_view();

    // Large files are read in pieces on several threads, each piece's lines
    // counted on their own and numbered in the file afterwards.
    const std::size_t pieces = std::max<std::size_t>(
        1, std::min<std::size_t>(body.size() / std::max<std::size_t>(pieceBytes, 1) + 1,
                                 static_cast<std::size_t>(workerCount(jobs, 64)) * 4));
    const std::vector<std::string_view> chunks = chunksOf(body, pieces);
    // Each piece groups its own days by stock, its lines numbered from 0.
    struct PieceRead {
        std::vector<LayoutCsvRead::Stock> stocks;
        std::vector<std::pair<std::uint32_t, std::string>> refused;
        std::vector<std::string> beijing;
        std::unordered_set<std::string> beijingSeen;
        std::size_t otherLines = 0, suspendedDays = 0;
        std::uint32_t lines = 0;
    };
    std::vector<PieceRead> pieceReads(chunks.size());
    const LineReader reader(at, columns.unitsPerLot, fileCode);
    parallelFor(chunks.size(), jobs, [&](std::size_t c) {
        PieceRead& mine = pieceReads[c];
        std::unordered_map<std::uint32_t, std::size_t> stockOf;
        std::size_t last = 0;
        LineRead read;
        forEachLine(chunks[c], [&](std::string_view line, std::uint32_t n) {
            mine.lines = n + 1;
            read.kind = LineRead::Blank;
            reader.read(line, read);
            switch (read.kind) {
                case LineRead::Day:
                    if (mine.stocks.empty() || mine.stocks[last].code.code != read.code) {
                        auto [it, added] =
                            stockOf.try_emplace(codeNumber(read.code), mine.stocks.size());
                        if (added) mine.stocks.push_back({{read.exchange, read.code}, {}});
                        last = it->second;
                    }
                    read.day.file = file;
                    read.day.line = n;
                    mine.stocks[last].days.push_back(read.day);
                    break;
                case LineRead::Refused:
                    mine.refused.emplace_back(n, std::move(read.why));
                    break;
                case LineRead::Beijing:
                    if (mine.beijingSeen.insert(read.code).second)
                        mine.beijing.push_back(read.code);
                    break;
                case LineRead::Other:
                    ++mine.otherLines;
                    break;
                case LineRead::Suspended:
                    ++mine.suspendedDays;
                    break;
                case LineRead::Blank:
                    break;
            }
        });
    });

    // The pieces joined in file order, their lines numbered in the file.
    std::unordered_map<std::string, std::size_t> stockOf;
    std::uint32_t firstLine = 2;  // the line after the header
    for (PieceRead& piece : pieceReads) {
        for (LayoutCsvRead::Stock& stock : piece.stocks) {
            for (ImportedDay& day : stock.days) day.line += firstLine;
            auto [it, added] = stockOf.try_emplace(stock.code.code, out.stocks.size());
            if (added) {
                out.stocks.push_back(std::move(stock));
            } else {
                auto& days = out.stocks[it->second].days;
                days.insert(days.end(), std::make_move_iterator(stock.days.begin()),
                            std::make_move_iterator(stock.days.end()));
            }
        }
        for (auto& [line, why] : piece.refused)
            out.refused.push_back("line " + std::to_string(firstLine + line) + ": " + why +
                                  "; refused");
        for (std::string& code : piece.beijing)
            if (std::find(out.beijing.begin(), out.beijing.end(), code) == out.beijing.end())
                out.beijing.push_back(std::move(code));
        out.otherLines += piece.otherLines;
        out.suspendedDays += piece.suspendedDays;
        firstLine += piece.lines;
    }
    return out;
}

}  // namespace orvane
