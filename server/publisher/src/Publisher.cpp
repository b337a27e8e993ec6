#include "orvane/publisher/Publisher.h"

#include <unistd.h>

#include <atomic>
#include <mutex>
#include <optional>

#include "orvane/core/FileWrites.h"
#include "orvane/core/FolderRemoval.h"
#include "orvane/core/ParallelFor.h"
#include "orvane/core/StagingFolder.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/publisher/DayResultsFile.h"
#include "orvane/publisher/HelpPages.h"
#include "orvane/publisher/MarketFiles.h"
#include "orvane/publisher/MarketImport.h"
#include "orvane/publisher/ModelGallery.h"
#include "orvane/publisher/PricePatterns.h"
#include "orvane/publisher/ReferenceData.h"
#include "orvane/publisher/StockFiles.h"

namespace orvane::server {

namespace fs = std::filesystem;

namespace {

fs::path below(const fs::path& tree, std::string_view serverPath) {
    return tree / fs::path(std::string(serverPath)).relative_path();
}

// The stock's part of the day's market files.
std::optional<StockOfTheDay> dayOf(const StockSeries& s, const StockFilesReport& files) {
    if (s.bars.size() < 2) return std::nullopt;
    StockOfTheDay day;
    day.listing = s.listing;
    day.today = s.bars.back();
    day.yesClose = s.bars[s.bars.size() - 2].close;
    if (files.today) {
        day.score = files.today->result.score;
        day.modelB = files.today->result.modeB;
    }
    day.pattern = patternType(s.bars);
    return day;
}

bool writeMarketLists(const fs::path& tree, const std::vector<StockOfTheDay>& days) {
    bool ok = true;
    auto put = [&](std::string_view name, const std::string& text, bool chinese) {
        auto bytes = chinese ? utf8ToGb18030(text) : std::optional<std::string>(text);
        ok = ok && bytes && writeTreeFile(below(tree, serverpath::sortFilePath(name)), *bytes);
    };
    put("shsortup_new.txt", gainListText(days, true, true), true);
    put("szsortup_new.txt", gainListText(days, false, true), true);
    put("shsortdown_new.txt", gainListText(days, true, false), true);
    put("szsortdown_new.txt", gainListText(days, false, false), true);
    put("score.txt", scoreListText(days), false);
    put("score_doublePao.txt", doubleCannonListText(days), false);
    put("score_Pao1.txt.txt", singleCannonListText(days), false);
    return ok;
}

}  // namespace

PublishReport publishMarket(std::vector<StockSeries> stocks, const fs::path& tree,
                            const PublishOptions& options) {
    PublishReport report;
    report.staleStagingRemoved = removeStaleStagingFolders(tree);
    const fs::path staging = stagingFolderFor(tree, ::getpid());
    removeFolderTree(staging);
    forgetWriteFailure();
    if (!makeFolders(staging / "const")) {
        report.error = lastWriteFailureText("cannot create " + staging.string()) + "; " +
                       tree.string() + " is as it was";
        removeFolderTree(staging);
        return report;
    }
    // A tree missing a file is never put in place of a whole one.
    auto failWith = [&](const std::string& error) {
        report.error = error;
        removeFolderTree(staging);
        return report;
    };
    std::atomic<std::size_t> files{0}, unwritten{0}, modelB{0};
    std::mutex failureLock;
    std::optional<WriteFailure> firstFailure;  // of the workers, for the message
    auto noteFailure = [&] {
        if (const auto failure = lastWriteFailure()) {
            const std::lock_guard lock(failureLock);
            if (!firstFailure) firstFailure = failure;
        }
    };
    // The histories as traded (a stock's, or an index's made of adjusted
    // members).
    auto writeTraded = [&](const StockSeries& s) {
        if (writeTreeFile(below(staging, serverpath::tradedHistoryFilePath(s.listing.code)),
                          historyTextOf(s.bars)))
            ++files;
        else
            ++unwritten;
    };
    if (options.adjustForward) {
        report.adjustment = adjustMarketForward(
            stocks, *options.adjustForward,
            [&](const StockSeries& s) {
                // A stopped publish is thrown away: its files need not be written.
                if (options.stop.stop_requested()) return;
                forgetWriteFailure();
                writeTraded(s);
                noteFailure();
            },
            options.jobs);
        if (auto none = adjustmentSourceProblem(report.adjustment, stocks.size()))
            return failWith(*none);
    }

    const std::vector<CompositeIndex> composites = chooseComposites(stocks);
    // The indexes are published like stocks (charts, results) after them, but
    // they are no stocks: the gain and score lists leave them out.
    const std::size_t listedStocks = stocks.size();
    for (const CompositeIndex& c : composites) stocks.push_back(compositeSeries(c, stocks));

    // Stocks in parallel, each with its own engine run over its own history.
    std::vector<std::optional<StockOfTheDay>> days(stocks.size());
    std::vector<std::vector<DayVerdict>> modelBDays(stocks.size());
    std::vector<std::optional<DayResult>> results(stocks.size());
    auto work = [&](std::size_t i) {
        forgetWriteFailure();
        const StockSeries& s = stocks[i];
        const StockFilesReport written =
            writeStockFiles(staging, s.listing.code, historyTextOf(s.bars), options.daysBack);
        days[i] = dayOf(s, written);
        if (written.today && i < listedStocks) results[i] = dayResultOf(s.listing, *written.today);
        std::size_t count = written.files;
        if (options.adjustForward && i >= listedStocks) writeTraded(s);
        if (days[i]) {
            auto line = utf8ToGb18030(quoteLine(*days[i]));
            if (line &&
                writeTreeFile(below(staging, serverpath::quoteCopyPath(s.listing.code)), *line))
                ++count;
            else
                ++unwritten;
        }
        files += count;
        unwritten += written.unwritten;
        modelB += written.modelBDays.size();
        modelBDays[i] = written.modelBDays;
        noteFailure();
    };
    parallelFor(stocks.size(), options.jobs, work, options.progress, options.stop);
    if (options.stop.stop_requested()) {
        report.stopped = true;
        return failWith("stopped; " + tree.string() + " is as it was");
    }
    if (unwritten > 0)
        return failWith((firstFailure ? describe(*firstFailure) + "; " : std::string()) +
                        "cannot write " + std::to_string(unwritten.load()) +
                        " of the stocks' files beside " + tree.string() + "; " + tree.string() +
                        " is as it was");

    std::vector<StockOfTheDay> market;
    std::vector<ListedStock> listing;
    for (std::size_t i = 0; i < stocks.size(); ++i) {
        listing.push_back(stocks[i].listing);
        if (days[i] && i < listedStocks) market.push_back(*days[i]);
    }
    std::vector<DayResult> dayResults;
    for (std::optional<DayResult>& r : results)
        if (r) dayResults.push_back(std::move(*r));
    std::vector<ModelHit> hits;
    for (std::size_t i = 0; i < stocks.size(); ++i)
        for (const DayVerdict& day : modelBDays[i]) hits.push_back({&stocks[i], day});
    std::string error;
    forgetWriteFailure();
    bool ok =
        writeMarketLists(staging, market) &&
        writeTreeFile(below(staging, serverpath::kDayResultsFile), dayResultsText(dayResults)) &&
        writeModelGallery(staging, std::move(hits)) &&
        writeTreeFile(below(staging, serverpath::kDoubleCannonHelp), doubleCannonHelpPage()) &&
        writeReferenceArchive(below(staging, serverpath::kConstDataZip), listing, composites,
                              error) &&
        writeTreeFile(below(staging, serverpath::kUpdateConfigFile),
                      updateConfigText(options.version));
    if (!ok)
        return failWith((error.empty() ? lastWriteFailureText("cannot write the market files "
                                                              "beside " +
                                                              tree.string())
                                       : error) +
                        "; " + tree.string() + " is as it was");
    if (!swapFolderIn(staging, tree))
        return failWith(
            lastWriteFailureText("cannot put the new tree in place of " + tree.string()) + "; " +
            tree.string() + " is as it was");
    report.ok = true;
    report.stocks = stocks.size();
    report.files = files;
    report.modelBDays = modelB;
    return report;
}

}  // namespace orvane::server
