#include "orvane/publisher/MarketImport.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/ChineseCollation.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/CsvHistory.h"
#include "orvane/market/StockCode.h"

namespace orvane::server {

namespace fs = std::filesystem;

namespace {

int columnOf(const std::vector<std::string_view>& header,
             std::initializer_list<std::string_view> names) {
    for (std::string_view name : names)
        for (std::size_t i = 0; i < header.size(); ++i)
            if (trimCsvField(header[i]) == name) return static_cast<int>(i);
    return -1;
}

double tradedValue(const StockSeries& s) {
    return s.bars.empty() ? 0 : s.bars.back().close * s.bars.back().volume;
}

std::vector<std::string> largestByValue(const std::vector<const StockSeries*>& pool,
                                        std::size_t count) {
    std::vector<const StockSeries*> sorted(pool);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](auto* a, auto* b) { return tradedValue(*a) > tradedValue(*b); });
    std::vector<std::string> out;
    for (std::size_t i = 0; i < sorted.size() && i < count; ++i)
        out.push_back(sorted[i]->listing.code);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

std::vector<ListedStock> readStockList(const fs::path& listCsv,
                                       const std::function<void(const std::string&)>& problem) {
    std::vector<ListedStock> out;
    auto text = readFile(listCsv);
    if (!text) {
        problem(listCsv.string() + ": cannot read the stock list");
        return out;
    }
    std::string_view csv = *text;
    if (csv.starts_with("\xEF\xBB\xBF")) csv.remove_prefix(3);
    std::vector<std::string_view> lines = splitOn(csv, '\n');
    const std::vector<std::string_view> header = splitOn(lines[0], ',');
    const int code = columnOf(header, {"symbol", "code"}), name = columnOf(header, {"name"}),
              industry = columnOf(header, {"industry"}), pinyin = columnOf(header, {"pinyin"});
    if (code < 0 || name < 0) {
        problem(listCsv.string() +
                ": line 1: the header needs a \"symbol\" (or \"code\") and a \"name\" column");
        return out;
    }
    std::set<std::string> seen;
    for (std::size_t i = 1; i < lines.size(); ++i) {
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
            problem(where + "\"" + s.code + "\" is not a stock code; skipped");
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
                                         const std::function<void(const std::string&)>& problem) {
    std::unordered_map<std::string, const ListedStock*> byCode;
    for (const ListedStock& s : listing) byCode[s.code] = &s;
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(csvDir, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        if (it->path().extension() == ".csv") files.push_back(it->path());
    std::sort(files.begin(), files.end());

    std::vector<StockSeries> out;
    for (const fs::path& file : files) {
        const std::string code = file.stem().string();
        if (!isValidStockCode(code)) {
            problem(file.string() + ": the file name is not a stock code; skipped");
            continue;
        }
        auto csv = readFile(file);
        if (!csv) {
            problem(file.string() + ": cannot read; skipped");
            continue;
        }
        if (auto bad = checkDailyCsv(*csv)) {
            problem(file.string() + ": " + *bad + "; skipped");
            continue;
        }
        StockSeries s;
        auto listed = byCode.find(code);
        s.listing = listed != byCode.end() ? *listed->second : ListedStock{code, code, "", ""};
        std::string error;
        s.bars = readDailyBars(*csv, error).value_or(std::vector<DailyBar>{});
        out.push_back(std::move(s));
    }
    return out;
}

std::vector<CompositeIndex> chooseComposites(const std::vector<StockSeries>& stocks) {
    std::vector<const StockSeries*> shanghai, all;
    CompositeIndex shenzhen{"399001", "深证成指", {}}, growth{"399006", "创业板指", {}};
    for (const StockSeries& s : stocks) {
        const std::string& c = s.listing.code;
        if (c.starts_with("399") || c.starts_with("510")) continue;
        all.push_back(&s);
        if (c[0] == '6') shanghai.push_back(&s);
        if (c[0] == '0' || c[0] == '3') shenzhen.members.push_back(c);
        if (c.starts_with("300") || c.starts_with("301")) growth.members.push_back(c);
    }
    std::vector<CompositeIndex> out;
    for (CompositeIndex index :
         {shenzhen, growth, CompositeIndex{"510050", "上证50", largestByValue(shanghai, 50)},
          CompositeIndex{"510300", "沪深300", largestByValue(all, 300)}})
        if (!index.members.empty()) out.push_back(std::move(index));
    return out;
}

StockSeries compositeSeries(const CompositeIndex& index, const std::vector<StockSeries>& stocks) {
    // Per date: the members' summed moves and volumes.
    struct DayMoves {
        double open = 0, high = 0, low = 0, close = 0, volume = 0;
        int count = 0;
    };
    std::map<std::string, DayMoves> days;
    const std::set<std::string> members(index.members.begin(), index.members.end());
    for (const StockSeries& s : stocks) {
        if (!members.count(s.listing.code)) continue;
        for (std::size_t i = 0; i < s.bars.size(); ++i) {
            DayMoves& d = days[s.bars[i].date];
            d.volume += s.bars[i].volume;
            if (i == 0 || s.bars[i - 1].close <= 0) continue;
            const double base = s.bars[i - 1].close;
            d.open += s.bars[i].open / base - 1.0;
            d.high += s.bars[i].high / base - 1.0;
            d.low += s.bars[i].low / base - 1.0;
            d.close += s.bars[i].close / base - 1.0;
            ++d.count;
        }
    }
    StockSeries out;
    out.listing = {index.code, index.name, "", ""};
    double level = 1000.0;
    for (const auto& [date, d] : days) {
        DailyBar bar{date, level, level, level, level, d.volume};
        if (d.count > 0) {
            bar.open = level * (1.0 + d.open / d.count);
            bar.close = level * (1.0 + d.close / d.count);
            bar.high = std::max({level * (1.0 + d.high / d.count), bar.open, bar.close});
            bar.low = std::min({level * (1.0 + d.low / d.count), bar.open, bar.close});
        }
        level = bar.close;
        out.bars.push_back(std::move(bar));
    }
    return out;
}

}  // namespace orvane::server
