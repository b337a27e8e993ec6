#include "application/AppWorkers.h"

#include <optional>

#include "orvane/core/Clock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/Log.h"
#include "orvane/reports/MarketInformation.h"
#include "orvane/reports/MarketReportGuard.h"
#include "orvane/reports/MarketReportSchedule.h"
#include "orvane/stocklib/QXStockLib.h"

namespace orvane::app {

using namespace std::chrono_literals;

void runMarketReportUnlessBusy(std::stop_token stop) {
    const bool ran = MarketReportGuard::shared().runUnlessBusy(
        [&] { runMarketInfoProcess(QXStockLib::defQXStockLib(), stop); });
    if (!ran) ORVANE_LOG("market report already running: this run is skipped");
}

namespace {

bool isSameMinute(const std::optional<LocalDateTime>& a, const LocalDateTime& b) {
    return a && a->year == b.year && a->month == b.month && a->day == b.day && a->hour == b.hour &&
           a->minute == b.minute;
}

}  // namespace

AppWorkers::AppWorkers(WorkerHooks hooks) : hooks_(std::move(hooks)) {}

AppWorkers::~AppWorkers() {
    stopAll();
}

bool AppWorkers::sleepFor(std::stop_token stop, std::chrono::milliseconds duration) {
    std::mutex m;
    std::condition_variable_any wake;
    std::unique_lock lock(m);
    return !wake.wait_for(lock, stop, duration, [] { return false; }) && !stop.stop_requested();
}

void AppWorkers::start(std::function<void(std::stop_token)> body) {
    std::lock_guard lock(mutex_);
    if (stopped_) return;
    threads_.emplace_back(std::move(body));
    ++started_;
}

void AppWorkers::detachMmarketReportThread() {
    start([](std::stop_token stop) { runMarketReportUnlessBusy(stop); });
}

void AppWorkers::detachStockInfoReportThread() {
    start([this](std::stop_token stop) {
        do {
            if (hooks_.quoteRound)
                hooks_.quoteRound(stop);
            else
                QXStockLib::defQXStockLib().handDownloadMyStockProcess();
            if (hooks_.holdingsRefreshed) hooks_.holdingsRefreshed(stop);
        } while (sleepFor(stop, 5s));
    });
}

void AppWorkers::startScheduleAndTrendModeWorkers() {
    {
        std::lock_guard lock(mutex_);
        if (scheduleStarted_) return;
        scheduleStarted_ = true;
    }
    start([this](std::stop_token stop) { marketReportThread(stop); });
    start([this](std::stop_token stop) { newMsgReportThread(stop); });
}

void AppWorkers::marketReportThread(std::stop_token stop) {
    // Several seconds of a scheduled minute match; the report runs once for
    // the minute.
    std::optional<LocalDateTime> lastScheduled;
    do {
        if (hooks_.updateStatusTimes) hooks_.updateStatusTimes();
        const LocalDateTime moment = toLocal(now());
        if (!isOnMarketReportSchedule(moment) || isSameMinute(lastScheduled, moment)) continue;
        lastScheduled = moment;
        ORVANE_LOG("%s", marketReportScheduleLine(moment).c_str());
        start([this](std::stop_token reportStop) {
            if (!sleepFor(reportStop, hooks_.scheduledReportDelay)) return;
            if (hooks_.scheduledMarketReport)
                hooks_.scheduledMarketReport(reportStop);
            else
                runMarketReportUnlessBusy(reportStop);
        });
    } while (sleepFor(stop, 1s));
}

void AppWorkers::newMsgReportThread(std::stop_token stop) {
    int counter = 298;
    while (sleepFor(stop, 1s)) {
        if (counter < 300) {
            ++counter;
            continue;
        }
        if (hooks_.updateNotifyTrendMode) hooks_.updateNotifyTrendMode(stop);
        counter = 0;
    }
}

std::size_t AppWorkers::startedCount() const {
    std::lock_guard lock(mutex_);
    return started_;
}

void AppWorkers::stopAll() {
    std::vector<std::jthread> threads;
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        threads.swap(threads_);
    }
    for (auto& t : threads) t.request_stop();
    threads.clear();  // joins
}

}  // namespace orvane::app
