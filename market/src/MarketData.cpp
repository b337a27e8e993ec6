#include "orvane/market/MarketData.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/market/CsvLayout.h"
#include "orvane/market/DayFile.h"
#include "orvane/market/ImportedDays.h"
#include "orvane/market/UserText.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

// What one file gave: its stocks' days, or why it gave none.
struct FileRead {
    std::vector<LayoutCsvRead::Stock> stocks;
    std::vector<std::string> refused;  // "line N: why; refused"
    std::vector<std::string> beijing;
    std::size_t otherLines = 0, suspendedDays = 0;
    bool otherFile = false;  // an index's or a fund's day file
    std::string problem;
};

void readDayFileInto(const fs::path& file, std::uint32_t index, FileRead& read) {
    const auto code = dayFileCode(file.filename().string());
    if (!code) {
        read.problem = "the file name is no day file's (such as sh600000.day); skipped";
        return;
    }
    switch (securityKindOf(*code)) {
        case SecurityKind::Share:
            break;
        case SecurityKind::Beijing:
            read.beijing.push_back(code->code);
            return;
        case SecurityKind::Other:
            read.otherFile = true;
            return;
    }
    auto bytes = readFile(file);
    if (!bytes) {
        read.problem = "cannot read; skipped";
        return;
    }
    DayFileRead days = readDayFile(*bytes, index);
    read.refused = std::move(days.refused);
    read.stocks.push_back({*code, std::move(days.days)});
}

void readCsvInto(const fs::path& file, std::uint32_t index, int jobs, FileRead& read) {
    auto bytes = readFile(file);
    if (!bytes) {
        read.problem = "cannot read; skipped";
        return;
    }
    if (!makeUtf8(*bytes)) {
        read.problem = "neither UTF-8 nor GB 18030 text; skipped";
        return;
    }
    const std::string& text = *bytes;
    const auto layout = csvLayoutOfHeader(std::string_view(text).substr(0, text.find('\n')));
    if (!layout) {
        read.problem = "line 1 names the columns of no layout known; skipped";
        return;
    }
    LayoutCsvRead csv =
        readLayoutCsv(text, *layout, parseSecurityCode(file.stem().string()), index, jobs);
    if (csv.fault) {
        read.problem = *csv.fault + "; skipped";
        return;
    }
    read.stocks = std::move(csv.stocks);
    read.refused = std::move(csv.refused);
    read.beijing = std::move(csv.beijing);
    read.otherLines = csv.otherLines;
    read.suspendedDays = csv.suspendedDays;
}

}  // namespace

MarketData readMarketData(const fs::path& path, const std::vector<ListedStock>& listing,
                          const std::function<void(const std::string&)>& problem, int jobs) {
    MarketData out;
    std::string why;
    auto found = detectMarketLayout(path, why);
    if (!found) {
        out.failure = why;
        return out;
    }
    out.layoutFound = true;
    out.layout = found->layout;
    const std::vector<fs::path>& files = found->files;
    if (out.layout == MarketLayout::Own) {
        out.stocks = readDailyFiles(files, listing, problem, jobs);
        for (const StockSeries& s : out.stocks) out.refusedLines += s.refusedLines;
        if (out.stocks.empty())
            out.failure = path.string() +
                          ": no CODE.csv could be read; each needs the columns date, open, close, "
                          "high, low and volume";
        return out;
    }

    // The files are read in parallel (one large file on every thread).
    std::vector<FileRead> reads(files.size());
    const bool dayFiles = out.layout == MarketLayout::DayFiles;
    const int withinFile = files.size() == 1 ? jobs : 1;
    parallelFor(files.size(), jobs, [&](std::size_t i) {
        const auto index = static_cast<std::uint32_t>(i);
        if (dayFiles)
            readDayFileInto(files[i], index, reads[i]);
        else
            readCsvInto(files[i], index, withinFile, reads[i]);
    });

    // Each stock's days gathered from every file, in file order.
    std::unordered_map<std::string, std::size_t> stockOf;
    std::vector<LayoutCsvRead::Stock> stocks;
    std::set<std::string> beijing;
    std::size_t otherFiles = 0, otherLines = 0, suspendedDays = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        FileRead& read = reads[i];
        for (const std::string& refused : read.refused) problem(files[i].string() + ": " + refused);
        out.refusedLines += read.refused.size();
        if (!read.problem.empty()) problem(files[i].string() + ": " + read.problem);
        beijing.insert(read.beijing.begin(), read.beijing.end());
        otherFiles += read.otherFile;
        otherLines += read.otherLines;
        suspendedDays += read.suspendedDays;
        for (LayoutCsvRead::Stock& stock : read.stocks) {
            auto [it, added] = stockOf.try_emplace(stock.code.code, stocks.size());
            if (added) {
                stocks.push_back(std::move(stock));
                continue;
            }
            auto& days = stocks[it->second].days;
            days.insert(days.end(), std::make_move_iterator(stock.days.begin()),
                        std::make_move_iterator(stock.days.end()));
        }
        read.stocks.clear();
    }
    std::sort(stocks.begin(), stocks.end(),
              [](const auto& a, const auto& b) { return a.code.code < b.code.code; });

    // Each stock's days put in order and checked.
    std::unordered_map<std::string, const ListedStock*> byCode;
    for (const ListedStock& s : listing) byCode[s.code] = &s;
    const std::string today = formatDate(toLocal(now()));
    std::vector<SettledDays> settled(stocks.size());
    parallelFor(stocks.size(), jobs,
                [&](std::size_t i) { settled[i] = settleDays(std::move(stocks[i].days), today); });
    const char* unit = dayFiles ? "record " : "line ";
    for (std::size_t i = 0; i < stocks.size(); ++i) {
        const std::string& code = stocks[i].code.code;
        for (const SettledDays::Refusal& r : settled[i].refused)
            problem(files[r.file].string() + ": " + code + ": " + unit + std::to_string(r.line) +
                    ": " + r.why);
        out.refusedLines += settled[i].refused.size();
        if (settled[i].bars.empty()) {
            problem(code + ": no day is left; skipped");
            continue;
        }
        StockSeries s;
        auto listed = byCode.find(code);
        s.listing = listed != byCode.end() ? *listed->second : ListedStock{code, code, "", ""};
        s.bars = std::move(settled[i].bars);
        s.previousCloses = std::move(settled[i].previousCloses);
        s.adjustmentFactors = std::move(settled[i].adjustmentFactors);
        s.refusedLines = settled[i].refused.size();
        out.stocks.push_back(std::move(s));
    }

    if (!beijing.empty())
        out.notes.push_back(std::to_string(beijing.size()) +
                            " Beijing stocks (codes 4, 8 and 92) left out: the code rules of "
                            "this program know Shanghai and Shenzhen only");
    if (otherFiles)
        out.notes.push_back(std::to_string(otherFiles) +
                            " day files of indexes, funds and bonds left out");
    if (otherLines)
        out.notes.push_back(std::to_string(otherLines) +
                            " day lines of indexes, funds and bonds left out");
    if (suspendedDays)
        out.notes.push_back(std::to_string(suspendedDays) +
                            " suspended days (tradestatus 0) left out");
    if (out.stocks.empty())
        out.failure = path.string() + ": no stock's days could be read from the " +
                      std::string(marketLayoutName(out.layout));
    return out;
}

}  // namespace orvane
