#include "orvane/market/CsvLayout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
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

// How the lines of one file are read: where each field's column is (-1:
// none), the volume's unit, and how many fields a line is split into (the
// rest of a line is never split).
struct LineFormat {
    std::array<int, kFields> at;
    double unitsPerLot;
    std::size_t needed = 0;

    LineFormat(const std::array<int, kFields>& columns, double units)
        : at(columns), unitsPerLot(units) {
        for (int c : at) needed = std::max(needed, static_cast<std::size_t>(c + 1));
    }
};

// What one piece of the file gave: its days grouped by stock (in the order
// first met), its lines numbered from 0.
struct PieceRead {
    std::vector<LayoutCsvRead::Stock> stocks;
    std::vector<std::pair<std::uint32_t, std::string>> refused;
    std::vector<std::string> beijing;
    std::size_t otherLines = 0, suspendedDays = 0;
    std::uint32_t lines = 0;
};

// Hashes text keys looked up by a view, without a copy.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

// Reads the lines of one piece into its PieceRead. A code's text is read
// once a piece: a whole-market file names each of a few thousand codes on
// hundreds of lines, and a file of one stock names one on all of them.
class PieceReader {
  public:
    PieceReader(const LineFormat& format, const std::optional<SecurityCode>& fileCode,
                std::uint32_t file, PieceRead& out)
        : format_(format), file_(file), out_(out) {
        if (fileCode) fileCode_ = known(*fileCode);
    }

    void read(std::string_view line, std::uint32_t n) {
        if (line.size() > kLongestCsvLine)
            return refuse(n, "longer than " + std::to_string(kLongestCsvLine >> 20) + " MB");
        if (trim(line).empty()) return;
        // Where each field up to the last one wanted starts, one past the
        // comma before it, and where the next would (a plain loop: fields
        // are too short for a search to pay).
        std::uint32_t start[kMostColumns + 1];
        std::size_t fields = 0;
        start[0] = 0;
        for (std::size_t i = 0; i < line.size() && fields < format_.needed; ++i)
            if (line[i] == ',') start[++fields] = static_cast<std::uint32_t>(i + 1);
        if (fields < format_.needed) start[++fields] = static_cast<std::uint32_t>(line.size() + 1);
        auto field = [&](Field which) {
            const auto c = static_cast<std::size_t>(format_.at[which]);
            return format_.at[which] >= 0 && c < fields
                       ? trim(line.substr(start[c], start[c + 1] - 1 - start[c]))
                       : std::string_view();
        };
        KnownCode* code = fileCode_ ? &*fileCode_ : nullptr;
        if (format_.at[Code] >= 0) {
            const std::string_view text = field(Code);
            code = codeOf(text);
            if (!code) return refuse(n, "the code " + quotedField(text) + " is not a stock code");
        }
        switch (code->kind) {
            case SecurityKind::Share:
                break;
            case SecurityKind::Beijing:
                if (!code->noted) {
                    code->noted = true;
                    if (std::find(out_.beijing.begin(), out_.beijing.end(), code->code.code) ==
                        out_.beijing.end())
                        out_.beijing.push_back(code->code.code);
                }
                return;
            case SecurityKind::Other:
                ++out_.otherLines;
                return;
        }
        if (format_.at[Status] >= 0 && field(Status) == "0") {
            ++out_.suspendedDays;
            return;
        }
        ImportedDay day;
        day.date = dateOf(field(Date));
        if (!day.date) return refuse(n, quotedField(field(Date)) + " is not a date");
        double value[kFields] = {};
        for (Field which : {Open, High, Low, Close, Volume}) {
            const std::string_view text = field(which);
            const auto number = csvNumber(text);
            if (!number)
                return refuse(n, std::string("the ") + kFieldNames[which] + " " +
                                     quotedField(text) + " is not a number");
            value[which] = *number;
        }
        day.open = value[Open];
        day.high = value[High];
        day.low = value[Low];
        day.close = value[Close];
        // Divided, not multiplied by 0.01: shares / 100 is the double a
        // lots text gives, so the same day reads the same from any layout.
        day.volume =
            format_.unitsPerLot == 1.0 ? value[Volume] : value[Volume] / format_.unitsPerLot;
        // What tells of ex-rights days is taken where it reads as a price or
        // a factor, and left at 0 (unknown) otherwise: it never refuses a day.
        for (auto [which, to] : {std::pair{PreviousClose, &day.previousClose},
                                 std::pair{AdjustmentFactor, &day.adjustmentFactor}})
            if (format_.at[which] >= 0)
                if (const auto number = csvNumber(field(which)); number && *number > 0)
                    *to = *number;
        day.file = file_;
        day.line = n;
        daysOf(*code).push_back(day);
    }

  private:
    static constexpr std::size_t kNoStock = static_cast<std::size_t>(-1);

    // A code as read, and its stock in the piece once a day of it is kept.
    struct KnownCode {
        SecurityCode code;
        SecurityKind kind = SecurityKind::Other;
        std::size_t stock = kNoStock;
        bool noted = false;  // a Beijing code, counted once
    };

    static KnownCode known(const SecurityCode& code) { return {code, securityKindOf(code)}; }

    // The code a field names, or nothing when it names none.
    KnownCode* codeOf(std::string_view text) {
        if (last_ && text == lastText_) return last_;
        auto it = codes_.find(text);
        if (it == codes_.end()) {
            auto code = parseSecurityCode(text);
            if (!code) return nullptr;
            it = codes_.try_emplace(std::string(text), known(*code)).first;
        }
        lastText_ = text;
        return last_ = &it->second;
    }

    std::vector<ImportedDay>& daysOf(KnownCode& code) {
        if (code.stock == kNoStock) {
            // Two texts of one code ("000001.SZ", "000001") are one stock.
            auto [it, added] = stockOf_.try_emplace(codeNumber(code.code.code), out_.stocks.size());
            if (added) out_.stocks.push_back({code.code, {}});
            code.stock = it->second;
        }
        return out_.stocks[code.stock].days;
    }

    // Whole-market files give one day's lines one after another.
    std::uint32_t dateOf(std::string_view text) {
        if (text != lastDateText_) {
            lastDate_ = importedDate(text);
            lastDateText_ = text;
        }
        return lastDate_;
    }

    void refuse(std::uint32_t n, std::string why) { out_.refused.emplace_back(n, std::move(why)); }

    // Six digits as a number, a cheaper key than the text.
    static std::uint32_t codeNumber(std::string_view code) {
        std::uint32_t n = 0;
        for (char c : code) n = n * 10 + static_cast<std::uint32_t>(c - '0');
        return n;
    }

    const LineFormat& format_;
    std::uint32_t file_;
    PieceRead& out_;
    std::unordered_map<std::string, KnownCode, TextHash, std::equal_to<>> codes_;
    std::optional<KnownCode> fileCode_;  // every line's, when no column names it
    KnownCode* last_ = nullptr;
    std::string_view lastText_, lastDateText_;
    std::uint32_t lastDate_ = 0;
    std::unordered_map<std::uint32_t, std::size_t> stockOf_;
};

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

// The pieces joined in file order, their lines numbered in the file (the
// first after the header is line 2). Each stock's days are gathered from the
// pieces on `jobs` threads: a whole-market file has every stock in every
// piece.
void joinPieces(std::vector<PieceRead>& pieces, int jobs, LayoutCsvRead& out) {
    struct Part {
        std::uint32_t piece, stock;
    };
    std::vector<std::vector<Part>> partsOf;  // of each stock of `out`
    std::vector<std::size_t> daysOf;
    std::vector<std::uint32_t> firstLine(pieces.size());
    std::unordered_map<std::string_view, std::size_t> stockOf;
    std::uint32_t line = 2;
    for (std::uint32_t p = 0; p < pieces.size(); ++p) {
        PieceRead& piece = pieces[p];
        firstLine[p] = line;
        for (std::uint32_t s = 0; s < piece.stocks.size(); ++s) {
            auto [it, added] = stockOf.try_emplace(piece.stocks[s].code.code, partsOf.size());
            if (added) {
                out.stocks.push_back({piece.stocks[s].code, {}});
                partsOf.emplace_back();
                daysOf.push_back(0);
            }
            partsOf[it->second].push_back({p, s});
            daysOf[it->second] += piece.stocks[s].days.size();
        }
        for (auto& [n, why] : piece.refused)
            out.refused.push_back("line " + std::to_string(line + n) + ": " + why + "; refused");
        for (std::string& code : piece.beijing)
            if (std::find(out.beijing.begin(), out.beijing.end(), code) == out.beijing.end())
                out.beijing.push_back(std::move(code));
        out.otherLines += piece.otherLines;
        out.suspendedDays += piece.suspendedDays;
        line += piece.lines;
    }
    parallelFor(out.stocks.size(), pieces.size() > 1 ? jobs : 1, [&](std::size_t i) {
        std::vector<ImportedDay>& days = out.stocks[i].days;
        for (const Part& part : partsOf[i]) {
            std::vector<ImportedDay>& from = pieces[part.piece].stocks[part.stock].days;
            for (ImportedDay& day : from) day.line += firstLine[part.piece];
            if (days.empty()) {
                days = std::move(from);
                days.reserve(daysOf[i]);
            } else {
                days.insert(days.end(), from.begin(), from.end());
            }
            std::vector<ImportedDay>().swap(from);
        }
    });
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
    std::vector<PieceRead> pieceReads(chunks.size());
    const LineFormat format(at, columns.unitsPerLot);
    parallelFor(chunks.size(), jobs, [&](std::size_t c) {
        PieceReader reader(format, fileCode, file, pieceReads[c]);
        forEachLine(chunks[c], [&](std::string_view line, std::uint32_t n) {
            pieceReads[c].lines = n + 1;
            reader.read(line, n);
        });
    });
    joinPieces(pieceReads, jobs, out);
    return out;
}

}  // namespace orvane
