#include "orvane/market/DailyFolder.h"

#include <algorithm>
#include <optional>
#include <set>
#include <unordered_map>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/ChineseCollation.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/StockCode.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

int columnOf(const std::vector<std::string_view>& header,
             std::initializer_list<std::string_view> names) {
    for (std::string_view name : names)
        for (std::size_t i = 0; i < header.size(); ++i)
            if (trimCsvField(header[i]) == name) return static_cast<int>(i);
    return -1;
}

std::string_view withoutBom(std::string_view csv) {
    if (csv.starts_with("\xEF\xBB\xBF")) csv.remove_prefix(3);
    return csv;
}

// The problem of a list's text; nothing when it can be read.
std::optional<std::string> listTextProblem(std::string_view csv) {
    if (!isValidUtf8(csv)) return std::string("the stock list is not UTF-8 text; save it as UTF-8");
    const std::string_view headerLine = csv.substr(0, std::min(csv.find('\n'), kLongestCsvLine));
    const std::vector<std::string_view> header = splitOn(headerLine, ',');
    if (columnOf(header, {"symbol", "code"}) < 0 || columnOf(header, {"name"}) < 0)
        return std::string(
            "line 1: the header needs a \"symbol\" (or \"code\") and a \"name\" column");
    return std::nullopt;
}

}  // namespace

std::optional<std::string> stockListProblem(const fs::path& listCsv) {
    auto text = readFile(listCsv);
    if (!text) return listCsv.string() + ": cannot read the stock list";
    if (auto bad = listTextProblem(withoutBom(*text))) return listCsv.string() + ": " + *bad;
    return std::nullopt;
}

std::vector<ListedStock> readStockList(const fs::path& listCsv,
                                       const std::function<void(const std::string&)>& problem) {
    std::vector<ListedStock> out;
    auto text = readFile(listCsv);
    if (!text) {
        problem(listCsv.string() + ": cannot read the stock list");
        return out;
    }
    const std::string_view csv = withoutBom(*text);
    if (auto bad = listTextProblem(csv)) {
        problem(listCsv.string() + ": " + *bad);
        return out;
    }
    std::vector<std::string_view> lines = splitOn(csv, '\n');
    const std::vector<std::string_view> header = splitOn(lines[0], ',');
    const int code = columnOf(header, {"symbol", "code"}), name = columnOf(header, {"name"}),
              industry = columnOf(header, {"industry"}), pinyin = columnOf(header, {"pinyin"});
    std::set<std::string> seen;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].size() > kLongestCsvLine) {
            problem(listCsv.string() + ": line " + std::to_string(i + 1) + ": longer than " +
                    std::to_string(kLongestCsvLine >> 20) + " MB; skipped");
            continue;
        }
        if (trimCsvField(lines[i]).empty()) continue;
        const std::vector<std::string_view> f = splitOn(lines[i], ',');
        auto field = [&](int c) {
            return c >= 0 && static_cast<std::size_t>(c) < f.size()
                       ? std::string(trimCsvField(f[static_cast<std::size_t>(c)]))
                       : std::string();
        };
        ListedStock s{field(code), field(name), field(industry), field(pinyin)};
        const std::string where = listCsv.string() + ": line " + std::to_string(i + 1) + ": ";
        if (!isValidStockCode(s.code)) {
            problem(where + quotedField(s.code) + " is not a stock code; skipped");
            continue;
        }
        if (!seen.insert(s.code).second) {
            problem(where + s.code + " is listed twice; the first entry stands");
            continue;
        }
        // The code table puts a stock on a line and its fields apart with
        // control characters: a name holding one would come apart there.
        bool cleaned = false;
        for (std::string* text : {&s.name, &s.industry, &s.pinyin}) {
            std::string clean = withoutSeparators(*text);
            cleaned = cleaned || clean.size() != text->size();
            *text = std::move(clean);
        }
        if (cleaned) problem(where + "control characters left out of " + s.code + "'s fields");
        out.push_back(std::move(s));
    }
    return out;
}

std::vector<StockSeries> readDailyFolder(const fs::path& csvDir,
                                         const std::vector<ListedStock>& listing,
                                         const std::function<void(const std::string&)>& problem,
                                         int jobs) {
    std::unordered_map<std::string, const ListedStock*> byCode;
    for (const ListedStock& s : listing) byCode[s.code] = &s;
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(csvDir, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        if (it->path().extension() == ".csv") files.push_back(it->path());
    std::sort(files.begin(), files.end());

    // Files are read and checked in parallel; problems are said in file order.
    struct FileRead {
        std::optional<StockSeries> series;
        std::vector<std::string> refused;  // its lines refused
        std::string problem;
    };
    std::vector<FileRead> reads(files.size());
    const std::string today = formatDate(toLocal(now()));
    parallelFor(files.size(), jobs, [&](std::size_t i) {
        const fs::path& file = files[i];
        const std::string code = file.stem().string();
        FileRead& read = reads[i];
        if (!isValidStockCode(code)) {
            read.problem = file.string() + ": the file name is not a stock code; skipped";
            return;
        }
        auto csv = readFile(file);
        if (!csv) {
            read.problem = file.string() + ": cannot read; skipped";
            return;
        }
        CheckedDailyCsv days = readCheckedDailyCsv(*csv, today);
        if (days.fault) {
            read.problem = file.string() + ": " + *days.fault + "; skipped";
            return;
        }
        for (const std::string& refused : days.refused)
            read.refused.push_back(file.string() + ": " + refused);
        if (days.bars.empty()) {
            read.problem = file.string() + ": no day line is left; skipped";
            return;
        }
        StockSeries s;
        auto listed = byCode.find(code);
        s.listing = listed != byCode.end() ? *listed->second : ListedStock{code, code, "", ""};
        s.bars = std::move(days.bars);
        s.refusedLines = days.refused.size();
        read.series = std::move(s);
    });
    std::vector<StockSeries> out;
    for (FileRead& read : reads) {
        for (const std::string& line : read.refused) problem(line);
        if (!read.problem.empty()) problem(read.problem);
        if (read.series) out.push_back(std::move(*read.series));
    }
    return out;
}

}  // namespace orvane
