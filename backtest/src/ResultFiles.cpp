#include "orvane/backtest/ResultFiles.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstring>
#include <functional>
#include <string_view>

#include "orvane/core/FileWrites.h"
#include "orvane/core/NewFileStream.h"
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

void field(std::string& line, std::string_view text) {
    line += ',';
    line += text;
}

template <std::integral Number>
void field(std::string& line, Number number) {
    char text[24];
    line += ',';
    const char* end = std::to_chars(text, text + sizeof text, number).ptr;
    line.append(text, static_cast<std::size_t>(end - text));
}

template <class... Values>
void fields(std::string& line, const Values&... values) {
    (field(line, values), ...);
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

// Lines made on one worker. Each line is written at a pointer into room made
// beforehand for its longest possible text, so that a field costs no check of
// its own: signals.csv runs to millions of lines.
class LineBlock {
  public:
    void clear() { used_ = 0; }
    char* roomFor(std::size_t bytes) {
        if (bytes_.size() - used_ < bytes)
            bytes_.resize(std::max(2 * bytes_.size(), used_ + bytes));
        return bytes_.data() + used_;
    }
    void endAt(const char* end) { used_ = static_cast<std::size_t>(end - bytes_.data()); }
    std::string_view text() const { return {bytes_.data(), used_}; }

  private:
    std::vector<char> bytes_;
    std::size_t used_ = 0;
};

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

char* putInt(char* at, std::int32_t n) {
    *at++ = ',';
    return std::to_chars(at, at + 11, n).ptr;
}

char* putPercent(char* at, double fraction) {
    *at++ = ',';
    return std::isnan(fraction) ? at : writeFixed(at, fraction * 100, 3);
}

// The longest a signal's line can be: its code and date, 64 characters for the
// short fields and the most a number takes for each of the others.
std::size_t signalLineMax(const Results& r, const Signal& s) {
    const std::size_t numbers = 1 + 4 * r.options.horizons.size();
    return r.stocks[s.stock].code.size() + r.days[s.day].size() + 64 +
           numbers * (kFixedTextMax + 1) + 2 * r.options.horizons.size();
}

void writeSignalLine(const Results& r, const Signal& s, LineBlock& block) {
    char* at = put(block.roomFor(signalLineMax(r, s)), r.stocks[s.stock].code);
    *at++ = ',';
    at = put(at, r.days[s.day]);
    at = putInt(at, s.trend);
    at = putInt(at, s.score);
    at = put(at, s.modelB ? ",1" : ",0");
    for (std::int8_t flag : {s.buyA, s.buyB})  // empty when the model-B check did not run
        at = flag < 0 ? put(at, ",") : putInt(at, flag);
    *at++ = ',';
    at = put(at, entryName(s.entry));
    *at++ = ',';
    if (!std::isnan(s.entryPrice)) at = writeFixed(at, s.entryPrice, 2);
    const std::size_t horizons = r.options.horizons.size();
    for (std::size_t h = 0; h < horizons; ++h) {
        at = putPercent(at, s.outcomes[h].ret);
        at = putPercent(at, s.outcomes[h].excess);
        at = putPercent(at, s.outcomes[h].drawdown);
    }
    for (std::size_t h = 0; h < horizons; ++h) {
        at = putPercent(at, s.outcomes[h].net);
        at = put(at, (s.delayedExits >> h) & 1U ? ",1" : ",0");
    }
    *at++ = '\n';
    block.endAt(at);
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
    std::vector<LineBlock> blocks(kBlocksABatch);
    const std::size_t total = r.signals.size();
    for (std::size_t batch = 0; batch < total; batch += kBlock * kBlocksABatch) {
        const std::size_t count = std::min(kBlocksABatch, (total - batch + kBlock - 1) / kBlock);
        parallelFor(count, r.options.jobs, [&](std::size_t b) {
            blocks[b].clear();
            const std::size_t first = batch + b * kBlock;
            for (std::size_t i = first; i < std::min(total, first + kBlock); ++i)
                writeSignalLine(r, r.signals[i], blocks[b]);
        });
        for (std::size_t b = 0; b < count; ++b)
            out.write(blocks[b].text().data(),
                      static_cast<std::streamsize>(blocks[b].text().size()));
    }
}

void writeSummaryCsv(const Results& r, std::ostream& out) {
    out << "grouping,key,label,horizon,signals,incomplete,mean_pct,median_pct,positive_pct,"
           "excess_pct,worst_drawdown_pct,verdicts,limit_up,not_filled,net_mean_pct,exits_"
           "delayed,excess_low_pct,excess_high_pct,excess_p\n";
    for (const GroupSummary& g : r.groups)
        for (const HorizonFigures& f : g.horizons) {
            std::string line = groupingName(g.grouping);
            fields(line, g.key, g.label, f.horizon, f.signals, f.incomplete);
            for (double x : {f.mean, f.median, f.positiveShare, f.meanExcess, f.worstDrawdown})
                percent(line, x);
            fields(line, g.verdicts, g.limitUp, g.notFilled);
            percent(line, f.meanNet);
            fields(line, f.delayedExits);
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
        fields(line, t.shares);
        for (double yuan : {t.buyCost, t.sellCost}) {
            line += ',';
            appendFixed(line, yuan, 2);
        }
        percent(line, t.ret);
        fields(line, exitReasonName(t.reason), t.delayed ? "1" : "0");
        out << line << '\n';
    }
}

void writeBaselineCsv(const Results& r, std::ostream& out) {
    std::string line = "date,traded,daily_pct,level";
    for (int h : r.options.horizons) line += ",forward" + std::to_string(h) + "_pct";
    out << line << '\n';
    for (const BaselineDay& b : r.baseline) {
        line = r.days[b.day];
        fields(line, b.traded);
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
    // Each file goes out as it is made: signals.csv runs to hundreds of megabytes.
    auto write = [&](const char* name, const FileWriter& writer) {
        NewFile file = NewFile::createMakingFolders(staging / name);
        if (!file.isOpen()) return false;
        NewFileStream out(file);
        writer(out);
        if (out.finish() && file.close()) return true;
        file.discard();
        return false;
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
