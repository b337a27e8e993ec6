// market-report, screen-sector and rank: the market and sector reports from
// the command line, against any data server. Each brings the reference data
// up to date first, reports progress on stderr and its results on stdout.

#include <chrono>
#include <cstdio>
#include <thread>

#include "CommandSupport.h"
#include "Commands.h"
#include "ProgressLine.h"
#include "orvane/analysis/TrendNames.h"
#include "orvane/core/DataDirectory.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/core/RunLoop.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/reports/GainsRankingReport.h"
#include "orvane/reports/GainsRankingRun.h"
#include "orvane/reports/MarketBreadth.h"
#include "orvane/reports/MarketInformation.h"
#include "orvane/reports/StockScreening.h"
#include "orvane/stocklib/QXStockLib.h"

namespace orvane::cli {

namespace {

/// What the market report is doing at a step of its progress.
const char* marketReportStep(int percent) {
    if (percent <= 15) return "the gain lists are downloaded";
    if (percent <= 20) return "checking the gain lists";
    if (percent < 35) return "computing the market score";
    if (percent < 96) return "ranking the sectors";
    return "handing over the reports";
}

/// Progress on stderr, and what the flows hand to the main window.
class StderrProgress final : public QXStockLibUpdateDelegate, public ProgressPanel {
  public:
    void updateGainsTitleDataDelegate(int total, int current, const std::string& code) override {
        screening_.update(static_cast<std::uint64_t>(current), static_cast<std::uint64_t>(total),
                          code + " " + CodeTable::shared().getStockCodeName(code).value_or(""));
    }
    void updateProgressDownloadFinishedDelegate(const std::string&, int progress) override {
        setIndicatorCurrentProgress(progress);
    }
    void setIndicatorCurrentProgress(int value) override {
        std::fprintf(stderr, "market report: %s (%d%%)\n", marketReportStep(value), value);
    }
    void setStatusBarMarketReportTextDelegate(const StyledText& text, int) override {
        statusLine = text.text;
    }
    void setActivatePlateReportDelegate(const std::string& text) override { sectorReports = text; }

    std::string statusLine, sectorReports;

  private:
    ProgressLine screening_{"screening"};
};

/// Installs the progress as the library's delegate and the shared progress
/// panel for the command's lifetime.
class ProgressScope {
  public:
    ProgressScope() : progress_(std::make_shared<StderrProgress>()) {
        QXStockLib::defQXStockLib().setDelegate(progress_.get());
        ProgressPanel::install(progress_);
    }
    ~ProgressScope() {
        QXStockLib::defQXStockLib().setDelegate(nullptr);
        ProgressPanel::install(nullptr);
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    StderrProgress& progress() { return *progress_; }

  private:
    std::shared_ptr<StderrProgress> progress_;
};

/// The servers, and the reference data brought up to date; an old copy is
/// good enough when the server's update fails. Without the data server
/// nothing can be reported, and a disk that fails the update would fail the
/// report's own files: the command fails at once.
void prepare(const ServerOptions& servers) {
    applyServers(servers);
    const ReferenceCheck check = updateReferenceData();
    if (!check.reachable || check.writeFailed) fail(check.message);
    std::fprintf(stderr, "%s%s\n", check.ok ? "" : "orvane: warning: ", check.message.c_str());
}

void runMarketReport(const ServerOptions& servers) {
    prepare(servers);
    ScopedRunLoop loop;
    ProgressScope scope;
    auto run = handMarketInfoProcess(QXStockLib::defQXStockLib());
    if (!loop.loop().runUntil([&] { return run->finished(); }, std::chrono::minutes(10)))
        fail("the market report did not finish within 10 minutes");
    std::string why;
    for (const std::string& f : run->failures()) why += "\n  " + f;
    // The day's lists are replaced together or not at all.
    if (!run->reported())
        fail(
            (run->failedHere()
                 ? "the day's market lists could not be stored in " + dataDirectory().string()
                 : "the day's market lists could not be read from " + servers.chosen().dataServer) +
            why + "\nthe lists of the last good run were kept");
    const StderrProgress& p = scope.progress();
    std::printf("%s\n", p.statusLine.c_str());
    std::printf("市场状态: %s\n\n", marketStateOf(run->markScore()).verdict);
    std::printf("%s", withUnixNewlines(p.sectorReports).c_str());
}

/// A trend code with what it says: "1000 正在加速上涨".
std::string trendWithName(std::int64_t trend) {
    return std::to_string(trend) + " " + std::string(trendName(trend));
}

void printCandidate(const StockRecord& r) {
    std::printf("%s\t%s\t%s\t%.2f\t%.2f\t%s\n", r.code.c_str(), r.name.value_or("").c_str(),
                r.trend ? trendWithName(*r.trend).c_str() : "-", double{r.gain5.value_or(0.0f)},
                double{r.gain10.value_or(0.0f)}, r.plateGroup.value_or("").c_str());
}

void runScreenSector(const ServerOptions& servers, const std::string& group) {
    prepare(servers);
    const auto names = SectorGroups::shared().getPlateGroupNameArray();
    if (std::find(names.begin(), names.end(), group) == names.end())
        nothingFound("no sector group named " + group + " (" + std::to_string(names.size()) +
                     " groups in the reference data: orvane sectors lists them)");
    ScopedRunLoop loop;  // this thread is the main thread: table updates run in place
    ProgressScope scope;
    std::int32_t high = 0;
    std::vector<StockRecord> before;
    const std::vector<StockRecord> picked =
        processFilterStockFromSubPlateGroup(QXStockLib::defQXStockLib(), group, high, before);
    std::printf("picked %zu (code, name, trend, 5-day %%, 10-day %%, groups):\n", picked.size());
    for (const StockRecord& r : picked) printCandidate(r);
    std::printf("high scorers (score 91 or more): %d\n", high);
    std::printf("rising five trading days ago %zu (code, date, trend, 5-day %%, 10-day %%):\n",
                before.size());
    for (const StockRecord& r : before)
        std::printf("%s\t%s\t%s\t%.2f\t%.2f\n", r.code.c_str(), r.date.value_or("").c_str(),
                    trendWithName(r.trend.value_or(0)).c_str(), double{r.gain5.value_or(0.0f)},
                    double{r.gain10.value_or(0.0f)});
}

/// Removes the downloads when the command ends, stored or not.
struct DownloadsGone {
    std::vector<GainListDownload> downloads;
    ~DownloadsGone() {
        std::error_code ec;
        for (const GainListDownload& d : downloads) std::filesystem::remove(d.file, ec);
    }
};

void runRank(const ServerOptions& servers, int top) {
    prepare(servers);
    DownloadsGone rising;
    for (const MarketGainList& list : kMarketGainLists) {
        if (list.direction != -1) continue;
        rising.downloads.push_back(downloadMarketGainListNow(list));
        const GainListDownload& d = rising.downloads.back();
        if (d.failure)
            fail(std::string("the market gain list ") + list.serverFile +
                 (d.failedHere
                      ? " could not be stored: "
                      : " could not be downloaded from " + servers.chosen().dataServer + ": ") +
                 *d.failure);
    }
    const FilterStockGains gains = storeRisingGainLists(rising.downloads, top);
    if (gains.failure)
        fail("today's rising gain lists were not stored: " + *gains.failure +
             "\nthe lists of the last good run were kept");
    const Array& stocks = gains.stocks;
    std::fprintf(stderr, "screening %zu top gainers\n", stocks.size());

    ScopedRunLoop loop;
    ProgressScope scope;
    GainsReportOutcome outcome;
    bool done = false;
    // The screening runs on a worker, as in the application; this thread
    // serves its stock-table updates.
    std::thread worker([&] {
        GainsReportOutcome ended = phraseTodayGainsData(QXStockLib::defQXStockLib(), stocks);
        postToMainThread([&, ended] {
            outcome = ended;
            done = true;
        });
    });
    loop.loop().runUntil([&] { return done; }, std::chrono::hours(24 * 365));
    worker.join();
    if (outcome.failure)
        fail("today's ranking report was not written: " + *outcome.failure +
             "\nthe last report was kept");
    if (outcome.report.empty())
        fail("no top gainers to screen: today's ranking report was left as it was");
    std::printf("%s\n", outcome.report.c_str());
}

}  // namespace

void addReportCommands(CLI::App& app) {
    {
        auto [cmd, servers] = addServerCommand(
            app, "market-report",
            "download the day's market gain lists and print the market score, its verdict and "
            "the rising and falling sectors");
        addWaitOption({cmd, servers});
        cmd->callback([=] { runMarketReport(*servers); });
    }
    {
        auto [cmd, servers] = addServerCommand(
            app, "screen-sector",
            "screen the stocks of one sector group: candidates, high scorers and last week's "
            "risers");
        auto group = std::make_shared<std::string>();
        cmd->add_option("NAME", *group, "the sector group's name")->required();
        addWaitOption({cmd, servers});
        cmd->callback([=] { runScreenSector(*servers, *group); });
    }
    {
        auto [cmd, servers] = addServerCommand(
            app, "rank",
            "write today's gains ranking report over the top gainers of Shanghai and Shenzhen "
            "and print its path");
        auto top = std::make_shared<int>(120);
        cmd->add_option("--top", *top, "how many top gainers of each exchange (1 or more)")
            ->check(CLI::Range(1, 100000))
            ->capture_default_str();
        addWaitOption({cmd, servers});
        cmd->callback([=] { runRank(*servers, *top); });
    }
}

}  // namespace orvane::cli
