#include "orvane/backtest/ResultFiles.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

#include "orvane/core/FileWrites.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/core/StagingFolder.h"

namespace orvane::backtest {

namespace fs = std::filesystem;

namespace {

const std::string kResultFiles[] = {"signals.csv", "summary.csv", "baseline.csv"};

// Appends the number in fixed notation with `decimals` (what printf's "%.Nf" writes).
void fixed(std::string& line, double value, int decimals) {
    char text[400];  // the largest double takes 312 characters
    line.append(
        text,
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr);
}

// Appends ",x" with x a percentage of the fraction, or "," alone without a figure.
void percent(std::string& line, double fraction) {
    line += ',';
    if (!std::isnan(fraction)) fixed(line, fraction * 100, 3);
}

template <class... Values>
void fields(std::string& line, Values... values) {
    ((line += ',', line += values), ...);
}

const char* entryName(Entry e) {
    switch (e) {
        case Entry::Filled:
            return "filled";
        case Entry::LimitUp:
            return "limit-up";
        case Entry::Suspended:
            return "suspended";
        case Entry::NoLaterDay:
            return "no-later-day";
    }
    return "";
}

std::string flag(std::int8_t f) {
    return f < 0 ? "" : std::to_string(f);
}

std::string groupingName(Grouping g) {
    switch (g) {
        case Grouping::All:
            return "all";
        case Grouping::Trend:
            return "trend";
        case Grouping::ModelB:
            return "model_b";
        case Grouping::ScoreBand:
            return "score_band";
        case Grouping::Month:
            return "month";
    }
    return "";
}

void appendSignalLine(const Results& r, const Signal& s, std::string& line) {
    line += r.stocks[s.stock].code;
    fields(line, r.days[s.day], std::to_string(s.trend), std::to_string(s.score),
           std::string(s.modelB ? "1" : "0"), flag(s.buyA), flag(s.buyB),
           std::string(entryName(s.entry)));
    line += ',';
    if (!std::isnan(s.entryPrice)) fixed(line, s.entryPrice, 2);
    for (std::size_t h = 0; h < r.options.horizons.size(); ++h) {
        percent(line, s.outcomes[h].ret);
        percent(line, s.outcomes[h].excess);
        percent(line, s.outcomes[h].drawdown);
    }
    line += '\n';
}

}  // namespace

void writeSignalsCsv(const Results& r, std::ostream& out) {
    std::string line = "code,date,trend,score,model_b,buy_a,buy_b,entry,entry_price";
    for (int h : r.options.horizons)
        for (const char* what : {"return", "excess", "drawdown"})
            line += "," + std::string(what) + std::to_string(h) + "_pct";
    out << line << '\n';
    // Lines are made in parallel, a batch of blocks at a time, and written in order.
    constexpr std::size_t kBlock = 8192, kBlocksABatch = 32;
    std::vector<std::string> texts(kBlocksABatch);
    const std::size_t total = r.signals.size();
    for (std::size_t batch = 0; batch < total; batch += kBlock * kBlocksABatch) {
        const std::size_t blocks = std::min(kBlocksABatch, (total - batch + kBlock - 1) / kBlock);
        parallelFor(blocks, r.options.jobs, [&](std::size_t b) {
            texts[b].clear();
            const std::size_t first = batch + b * kBlock;
            for (std::size_t i = first; i < std::min(total, first + kBlock); ++i)
                appendSignalLine(r, r.signals[i], texts[b]);
        });
        for (std::size_t b = 0; b < blocks; ++b)
            out.write(texts[b].data(), static_cast<std::streamsize>(texts[b].size()));
    }
}

void writeSummaryCsv(const Results& r, std::ostream& out) {
    out << "grouping,key,label,horizon,signals,incomplete,mean_pct,median_pct,positive_pct,"
           "excess_pct,worst_drawdown_pct,verdicts,limit_up,not_filled,excess_low_pct,excess_high_"
           "pct,"
           "excess_p\n";
    for (const GroupSummary& g : r.groups)
        for (const HorizonFigures& f : g.horizons) {
            std::string line = groupingName(g.grouping);
            fields(line, g.key, g.label, std::to_string(f.horizon), std::to_string(f.signals),
                   std::to_string(f.incomplete));
            for (double x : {f.mean, f.median, f.positiveShare, f.meanExcess, f.worstDrawdown})
                percent(line, x);
            fields(line, std::to_string(g.verdicts), std::to_string(g.limitUp),
                   std::to_string(g.notFilled));
            percent(line, f.excessLow);
            percent(line, f.excessHigh);
            line += ',';
            if (!std::isnan(f.excessP)) fixed(line, f.excessP, 4);
            out << line << '\n';
        }
}

void writeBaselineCsv(const Results& r, std::ostream& out) {
    std::string line = "date,traded,daily_pct,level";
    for (int h : r.options.horizons) line += ",forward" + std::to_string(h) + "_pct";
    out << line << '\n';
    for (const BaselineDay& b : r.baseline) {
        line = r.days[b.day];
        line += ',' + std::to_string(b.traded);
        percent(line, b.dailyReturn);
        line += ',';
        fixed(line, b.level, 6);
        for (std::size_t h = 0; h < r.options.horizons.size(); ++h) percent(line, b.forward[h]);
        out << line << '\n';
    }
}

std::optional<std::string> resultFolderProblem(const fs::path& folder) {
    const fs::path target = folderPathOf(folder);
    std::error_code ec;
    if (fs::exists(target, ec) && !fs::is_directory(target, ec))
        return target.string() + " is a file; give a folder for the results";
    // The folder is replaced whole: only an earlier result folder may be.
    for (fs::directory_iterator it(target, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        if (!std::count(std::begin(kResultFiles), std::end(kResultFiles),
                        it->path().filename().string()))
            return target.string() + " holds other files (" + it->path().filename().string() +
                   "); give a new folder or one an earlier back-test wrote";
    return stagingProblemFor(target);
}

bool writeResultFolder(const Results& results, const fs::path& folder, std::string& error) {
    const fs::path target = folderPathOf(folder);
    std::error_code ec;
    if (auto bad = resultFolderProblem(target)) {
        error = *bad;
        return false;
    }
    removeStaleStagingFolders(target);
    const fs::path staging = stagingFolderFor(target, ::getpid());
    fs::remove_all(staging, ec);
    forgetWriteFailure();
    auto write = [&](const char* name, void (*writer)(const Results&, std::ostream&)) {
        std::ostringstream out;
        writer(results, out);
        return writeNewFile(staging / name, out.view());
    };
    if (!makeFolders(staging) || !write("signals.csv", writeSignalsCsv) ||
        !write("summary.csv", writeSummaryCsv) || !write("baseline.csv", writeBaselineCsv) ||
        !swapFolderIn(staging, target)) {
        error = lastWriteFailureText("cannot write the results into " + target.string()) + "; " +
                target.string() + " is as it was";
        fs::remove_all(staging, ec);
        return false;
    }
    return true;
}

}  // namespace orvane::backtest
