#include "marketimport/MarketImportRun.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <mutex>

#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/StagingFolder.h"
#include "orvane/market/DailyFolder.h"
#include "orvane/market/MarketAdjustment.h"
#include "orvane/market/MarketData.h"
#include "orvane/publisher/Publisher.h"

namespace orvane::app {

namespace fs = std::filesystem;

MarketSurvey surveyMarket(const fs::path& source, int jobs) {
    MarketSurvey survey;
    const MarketData data = readMarketData(
        source, {}, [](const std::string&) {}, jobs);
    survey.layout = data.layout;
    survey.stocks = data.stocks.size();
    survey.notes = data.notes;
    survey.found = data.layoutFound && !data.stocks.empty();
    survey.problem = data.failure;
    return survey;
}

std::string layoutDisplayName(MarketLayout layout) {
    switch (layout) {
        case MarketLayout::Own:
            return "每只股票一个 CODE.csv";
        case MarketLayout::DayFiles:
            return "行情软件的日线文件（vipdoc/sh|sz/lday/*.day）";
        case MarketLayout::Akshare:
            return "akshare 日线 CSV";
        case MarketLayout::Tushare:
            return "tushare daily CSV";
        case MarketLayout::Baostock:
            return "baostock 日K线 CSV";
    }
    return {};
}

std::int64_t newestSourceTime(const fs::path& source) {
    std::string problem;
    const auto found = detectMarketLayout(source, problem);
    if (!found) return 0;
    fs::file_time_type newest = fs::file_time_type::min();
    for (const fs::path& file : found->files) {
        std::error_code ec;
        const fs::file_time_type t = fs::last_write_time(file, ec);
        if (!ec && t > newest) newest = t;
    }
    if (newest == fs::file_time_type::min()) return 0;
    const auto system = fs::file_time_type::clock::to_sys(newest);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

void yieldToTheWindow() {
    // Linux keeps a nice value for each thread; threads started later inherit it.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
}

ImportOutcome importMarket(const ImportRequest& request,
                           const std::function<void(const ImportProgress&)>& progress,
                           std::stop_token stop) {
    const auto started = std::chrono::steady_clock::now();
    ImportOutcome outcome;
    auto finish = [&](ImportOutcome::Result result, std::string message = {}) {
        outcome.result = result;
        outcome.message = std::move(message);
        outcome.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        return outcome;
    };
    auto stopped = [&] { return finish(ImportOutcome::Result::Stopped); };

    // An unwritable place fails now, not after the work.
    if (auto problem = stagingProblemFor(request.tree))
        return finish(ImportOutcome::Result::Failed, *problem);
    progress({ImportStep::Reading, 0, 0});
    // Taken before the files are read: a file changed while it is read is
    // newer than the tree, and is published again at the next start.
    outcome.newestSourceTime = newestSourceTime(request.source);

    std::mutex skippedLock;
    auto skip = [&](const std::string&) {
        std::lock_guard lock(skippedLock);
        ++outcome.skipped;
    };
    // An events file that cannot be used fails before the market is read.
    const AdjustmentFiles adjustment = readAdjustmentFiles(request.events, {});
    if (auto fault = adjustment.fault()) return finish(ImportOutcome::Result::Failed, *fault);
    outcome.skipped += adjustment.problems().size();
    std::vector<ListedStock> listing;
    if (!request.stockList.empty()) {
        if (auto problem = stockListProblem(request.stockList))
            return finish(ImportOutcome::Result::Failed, *problem);
        listing = readStockList(request.stockList, skip);
    }
    if (stop.stop_requested()) return stopped();
    MarketData data = readMarketData(request.source, listing, skip, request.jobs);
    outcome.layout = data.layout;
    outcome.notes = std::move(data.notes);
    if (!data.failure.empty() || data.stocks.empty())
        return finish(ImportOutcome::Result::Failed,
                      data.failure.empty() ? "no stock could be read" : data.failure);
    if (stop.stop_requested()) return stopped();

    // With events, the prices are adjusted forward and the traded ones
    // published beside them.
    server::PublishOptions options;
    if (adjustment.events) options.adjustForward = adjustment.sources();
    options.jobs = request.jobs;
    options.version = toLocal(now());
    options.stop = stop;
    options.progress = [&](std::size_t done, std::size_t total) {
        progress({ImportStep::Publishing, done, total});
    };
    const std::size_t stocks = data.stocks.size();
    const server::PublishReport report =
        server::publishMarket(std::move(data.stocks), request.tree, options);
    if (report.stopped) return stopped();
    if (!report.ok) return finish(ImportOutcome::Result::Failed, report.error);
    outcome.stocks = stocks;
    if (listing.empty())
        outcome.notes.push_back("没有股票列表：以代码代替名称，也无法知道哪些是 ST 股");
    return finish(ImportOutcome::Result::Published);
}

}  // namespace orvane::app
