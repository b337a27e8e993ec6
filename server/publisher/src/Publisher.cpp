#include "orvane/publisher/Publisher.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "orvane/core/TextEncoding.h"
#include "orvane/market/ServerPaths.h"
#include "orvane/publisher/HelpPages.h"
#include "orvane/publisher/MarketFiles.h"
#include "orvane/publisher/MarketImport.h"
#include "orvane/publisher/ModelGallery.h"
#include "orvane/publisher/PricePatterns.h"
#include "orvane/publisher/ReferenceData.h"
#include "orvane/publisher/StagingFolders.h"
#include "orvane/publisher/StockFiles.h"

namespace orvane::server {

namespace fs = std::filesystem;

namespace {

fs::path below(const fs::path& tree, std::string_view serverPath) {
    return tree / fs::path(std::string(serverPath)).relative_path();
}

// Puts the staged tree in place of the old one: one atomic exchange where the
// system offers it, else two renames.
bool swapIn(const fs::path& staging, const fs::path& tree) {
    std::error_code ec;
    if (fs::exists(tree, ec)) {
        if (::renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, tree.c_str(), RENAME_EXCHANGE) == 0) {
            fs::remove_all(staging, ec);  // now the old tree
            return true;
        }
        const fs::path old = tree.string() + ".old-" + std::to_string(::getpid());
        fs::rename(tree, old, ec);
        if (ec) return false;
        fs::rename(staging, tree, ec);
        if (ec) {
            fs::rename(old, tree, ec);
            return false;
        }
        fs::remove_all(old, ec);
        return true;
    }
    fs::create_directories(tree.parent_path(), ec);
    fs::rename(staging, tree, ec);
    return !ec;
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
    const std::vector<CompositeIndex> composites = chooseComposites(stocks);
    // The indexes are published like stocks (charts, results) after them, but
    // they are no stocks: the gain and score lists leave them out.
    const std::size_t listedStocks = stocks.size();
    for (const CompositeIndex& c : composites) stocks.push_back(compositeSeries(c, stocks));

    report.staleStagingRemoved = removeStaleStagingFolders(tree);
    const fs::path staging = stagingFolderFor(tree, ::getpid());
    std::error_code ec;
    fs::remove_all(staging, ec);
    fs::create_directories(staging / "const", ec);
    if (ec) {
        report.error = "cannot create " + staging.string() + ": " + ec.message();
        return report;
    }

    // Stocks in parallel, each with its own engine run over its own history.
    std::vector<std::optional<StockOfTheDay>> days(stocks.size());
    std::vector<std::vector<DayVerdict>> modelBDays(stocks.size());
    std::atomic<std::size_t> next{0}, done{0}, files{0}, modelB{0};
    std::mutex progressMutex;
    auto work = [&] {
        for (std::size_t i; (i = next++) < stocks.size();) {
            const StockSeries& s = stocks[i];
            const StockFilesReport written =
                writeStockFiles(staging, s.listing.code, historyTextOf(s.bars), options.daysBack);
            days[i] = dayOf(s, written);
            std::size_t count = written.files;
            if (days[i]) {
                auto line = utf8ToGb18030(quoteLine(*days[i]));
                if (line &&
                    writeTreeFile(below(staging, serverpath::quoteCopyPath(s.listing.code)), *line))
                    ++count;
            }
            files += count;
            modelB += written.modelBDays.size();
            modelBDays[i] = written.modelBDays;
            const std::size_t finished = ++done;
            if (options.progress) {
                std::lock_guard lock(progressMutex);
                options.progress(finished, stocks.size());
            }
        }
    };
    const int jobs = options.jobs > 0
                         ? options.jobs
                         : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> workers;
    for (int j = 1; j < jobs; ++j) workers.emplace_back(work);
    work();
    for (std::thread& t : workers) t.join();

    std::vector<StockOfTheDay> market;
    std::vector<ListedStock> listing;
    for (std::size_t i = 0; i < stocks.size(); ++i) {
        listing.push_back(stocks[i].listing);
        if (days[i] && i < listedStocks) market.push_back(*days[i]);
    }
    std::vector<ModelHit> hits;
    for (std::size_t i = 0; i < stocks.size(); ++i)
        for (const DayVerdict& day : modelBDays[i]) hits.push_back({&stocks[i], day});
    std::string error;
    bool ok =
        writeMarketLists(staging, market) && writeModelGallery(staging, std::move(hits)) &&
        writeTreeFile(below(staging, serverpath::kDoubleCannonHelp), doubleCannonHelpPage()) &&
        writeReferenceArchive(below(staging, serverpath::kConstDataZip), listing, composites,
                              error) &&
        writeTreeFile(below(staging, serverpath::kUpdateConfigFile),
                      updateConfigText(options.version));
    if (!ok) {
        report.error = error.empty() ? "cannot write the market files" : error;
        fs::remove_all(staging, ec);
        return report;
    }
    if (!swapIn(staging, tree)) {
        report.error = "cannot put the new tree in place of " + tree.string();
        fs::remove_all(staging, ec);
        return report;
    }
    report.ok = true;
    report.stocks = stocks.size();
    report.files = files;
    report.modelBDays = modelB;
    return report;
}

}  // namespace orvane::server
