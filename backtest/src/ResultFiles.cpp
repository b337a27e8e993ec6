#include "orvane/backtest/ResultFiles.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <sstream>

#include "orvane/core/FileWrites.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/core/StagingFolder.h"

namespace orvane::backtest {

namespace fs = std::filesystem;

namespace {

const std::string kResultFiles[] = {"signals.csv", "summary.csv", "baseline.csv", "equity.csv",
                                    "trades.csv"};

// Appends ",x" with x a percentage of the fraction, or "," alone without a figure.
void percent(std::string& line, double fraction) {
    line += ',';
    if (!std::isnan(fraction)) appendFixed(line, fraction * 100, 3);
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
        case Grouping::Rule:
            return "rule";
    }
    return "";
}

void appendSignalLine(const Results& r, const Signal& s, std::string& line) {
    line += r.stocks[s.stock].code;
    fields(line, r.days[s.day], std::to_string(s.trend), std::to_string(s.score),
           std::string(s.modelB ? "1" : "0"), flag(s.buyA), flag(s.buyB),
           std::string(entryName(s.entry)));
    line += ',';
    if (!std::isnan(s.entryPrice)) appendFixed(line, s.entryPrice, 2);
    for (std::size_t h = 0; h < r.options.horizons.size(); ++h) {
        percent(line, s.outcomes[h].ret);
        percent(line, s.outcomes[h].excess);
        percent(line, s.outcomes[h].drawdown);
    }
    for (std::size_t h = 0; h < r.options.horizons.size(); ++h) {
        percent(line, s.outcomes[h].net);
        line += (s.delayedExits >> h) & 1U ? ",1" : ",0";
    }
    line += '\n';
}

}  // namespace

void writeSignalsCsv(const Results& r, std::ostream& out) {
    std::string line = "code,date,trend,score,model_b,buy_a,buy_b,entry,entry_price";
    for (int h : r.options.horizons)
        for (const char* what : {"return", "excess", "drawdown"})
            line += "," + std::string(what) + std::to_string(h) + "_pct";
    // Added after the first columns, so that readers of those keep working.
    for (int h : r.options.horizons)
        line += ",net" + std::to_string(h) + "_pct,exit_delayed" + std::to_string(h);
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
           "excess_pct,worst_drawdown_pct,verdicts,limit_up,not_filled,net_mean_pct,exits_"
           "delayed,excess_low_pct,excess_high_pct,excess_p\n";
    for (const GroupSummary& g : r.groups)
        for (const HorizonFigures& f : g.horizons) {
            std::string line = groupingName(g.grouping);
            fields(line, g.key, g.label, std::to_string(f.horizon), std::to_string(f.signals),
                   std::to_string(f.incomplete));
            for (double x : {f.mean, f.median, f.positiveShare, f.meanExcess, f.worstDrawdown})
                percent(line, x);
            fields(line, std::to_string(g.verdicts), std::to_string(g.limitUp),
                   std::to_string(g.notFilled));
            percent(line, f.meanNet);
            fields(line, std::to_string(f.delayedExits));
            percent(line, f.excessLow);
            percent(line, f.excessHigh);
            line += ',';
            if (!std::isnan(f.excessP)) appendFixed(line, f.excessP, 4);
            out << line << '\n';
        }
}

void writeEquityCsv(const Results& r, const PortfolioRun& run, std::ostream& out) {
    out << "date,cash,holdings,net_value,market_net_value\n";
    std::string line;
    for (const EquityDay& e : run.equity) {
        line = r.days[e.day];
        for (double yuan : {e.cash, e.holdings, e.net, e.market}) {
            line += ',';
            appendFixed(line, yuan, 2);
        }
        out << line << '\n';
    }
}

void writeTradesCsv(const Results& r, const PortfolioRun& run, std::ostream& out) {
    out << "code,name,signal_date,entry_date,entry_price,exit_date,exit_price,shares,buy_cost,"
           "sell_cost,return_pct,exit,delayed\n";
    std::string line;
    for (const Trade& t : run.trades) {
        line = r.stocks[t.stock].code;
        fields(line, r.stocks[t.stock].name, r.days[t.signalDay], r.days[t.entryDay]);
        line += ',';
        appendFixed(line, t.entryPrice, 2);
        fields(line, r.days[t.exitDay]);
        line += ',';
        appendFixed(line, t.exitPrice, 2);
        fields(line, std::to_string(t.shares));
        for (double yuan : {t.buyCost, t.sellCost}) {
            line += ',';
            appendFixed(line, yuan, 2);
        }
        percent(line, t.ret);
        fields(line, std::string(exitReasonName(t.reason)), std::string(t.delayed ? "1" : "0"));
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
        appendFixed(line, b.level, 6);
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

namespace {

using FileWriter = std::function<void(std::ostream&)>;

// The files into `folder` by way of a staging folder swapped in whole.
bool writeFolder(const fs::path& folder,
                 const std::vector<std::pair<const char*, FileWriter>>& files, std::string& error) {
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
    auto write = [&](const char* name, const FileWriter& writer) {
        std::ostringstream out;
        writer(out);
        return writeNewFile(staging / name, out.view());
    };
    bool written = makeFolders(staging);
    for (const auto& [name, writer] : files) written = written && write(name, writer);
    if (!written || !swapFolderIn(staging, target)) {
        error = lastWriteFailureText("cannot write the results into " + target.string()) + "; " +
                target.string() + " is as it was";
        fs::remove_all(staging, ec);
        return false;
    }
    return true;
}

}  // namespace

bool writeResultFolder(const Results& results, const fs::path& folder, std::string& error) {
    return writeFolder(folder,
                       {{"signals.csv", [&](std::ostream& o) { writeSignalsCsv(results, o); }},
                        {"summary.csv", [&](std::ostream& o) { writeSummaryCsv(results, o); }},
                        {"baseline.csv", [&](std::ostream& o) { writeBaselineCsv(results, o); }}},
                       error);
}

bool writePortfolioFolder(const Results& results, const PortfolioRun& run, const fs::path& folder,
                          std::string& error) {
    return writeFolder(folder,
                       {{"equity.csv", [&](std::ostream& o) { writeEquityCsv(results, run, o); }},
                        {"trades.csv", [&](std::ostream& o) { writeTradesCsv(results, run, o); }}},
                       error);
}

}  // namespace orvane::backtest
