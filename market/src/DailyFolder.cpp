#include "orvane/market/DailyFolder.h"

#include <algorithm>
#include <optional>
#include <set>
#include <span>
#include <unordered_map>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/ChineseCollation.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/SecurityCode.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/UserText.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

int columnOf(const std::vector<std::string_view>& header, std::span<const std::string_view> names) {
    for (std::string_view name : names)
        for (std::size_t i = 0; i < header.size(); ++i)
            if (trimCsvField(header[i]) == name) return static_cast<int>(i);
    return -1;
}

// The columns a stock list's code and name may be under: ours, tushare's
// stock_basic (ts_code, symbol, name), akshare's (code, name or 代码, 名称)
// and baostock's (code such as sh.600000, code_name).
constexpr std::string_view kCodeColumns[] = {"symbol", "code",     "ts_code",
                                             "代码",   "股票代码", "证券代码"};
constexpr std::string_view kNameColumns[] = {"name", "code_name", "名称", "股票简称", "证券简称"};

constexpr std::string_view kIndustryColumn[] = {"industry"};
constexpr std::string_view kPinyinColumn[] = {"pinyin"};

// The list as UTF-8, or why it cannot be read.
std::optional<std::string> listText(const fs::path& listCsv, std::string& problem) {
    auto bytes = readFile(listCsv);
    if (!bytes) {
        problem = listCsv.string() + ": cannot read the stock list";
        return std::nullopt;
    }
    auto text = userTextAsUtf8(*bytes);
    if (!text) {
        problem = listCsv.string() +
                  ": the stock list is neither UTF-8 nor GB 18030 text; save it as UTF-8";
        return std::nullopt;
    }
    const std::string_view headerLine =
        std::string_view(*text).substr(0, std::min(text->find('\n'), kLongestCsvLine));
    const std::vector<std::string_view> header = splitOn(headerLine, ',');
    if (columnOf(header, kCodeColumns) < 0 || columnOf(header, kNameColumns) < 0) {
        problem = listCsv.string() +
                  ": line 1: the header needs a \"symbol\" (or \"code\") and a \"name\" column";
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::optional<std::string> stockListProblem(const fs::path& listCsv) {
    std::string problem;
    if (!listText(listCsv, problem)) return problem;
    return std::nullopt;
}

std::vector<ListedStock> readStockList(const fs::path& listCsv,
                                       const std::function<void(const std::string&)>& problem) {
    std::vector<ListedStock> out;
    std::string why;
    const auto text = listText(listCsv, why);
    if (!text) {
        problem(why);
        return out;
    }
    const std::string_view csv = *text;
    std::vector<std::string_view> lines = splitOn(csv, '\n');
    const std::vector<std::string_view> header = splitOn(lines[0], ',');
    const int code = columnOf(header, kCodeColumns), name = columnOf(header, kNameColumns),
              industry = columnOf(header, kIndustryColumn),
              pinyin = columnOf(header, kPinyinColumn);
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
        const auto security = parseSecurityCode(s.code);
        if (!security) {
            problem(where + quotedField(s.code) + " is not a stock code; skipped");
            continue;
        }
        // A list that names the exchange also lists its indexes (sh.000001
        // would land on a Shenzhen share's code) and Beijing's shares.
        const SecurityKind kind = securityKindOf(*security);
        if (kind == SecurityKind::Beijing ||
            (security->exchange != Exchange::Unknown && kind != SecurityKind::Share))
            continue;
        s.code = security->code;
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
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(csvDir, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        if (it->path().extension() == ".csv") files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return readDailyFiles(files, listing, problem, jobs);
}

std::vector<StockSeries> readDailyFiles(const std::vector<fs::path>& files,
                                        const std::vector<ListedStock>& listing,
                                        const std::function<void(const std::string&)>& problem,
                                        int jobs) {
    std::unordered_map<std::string, const ListedStock*> byCode;
    for (const ListedStock& s : listing) byCode[s.code] = &s;

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
