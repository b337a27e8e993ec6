#include "mainwindow/StockFetch.h"

#include <QPointer>
#include <atomic>
#include <thread>

#include "application/DataFreshness.h"
#include "mainwindow/ShownStock.h"
#include "orvane/core/LocalTime.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/MarketServers.h"
#include "orvane/stocklib/QXStockLib.h"

namespace orvane::app {

namespace {

constexpr double kReasonTimeOutSeconds = 5;

}  // namespace

struct FetchOutcome {
    std::optional<StockRecord> record;
    MissingRecord why;
    bool serverAnswered = true;
};

FetchFailureText fetchFailureText(const MissingRecord& why, const std::string& code,
                                  const std::string& server, std::optional<TimePoint> since) {
    switch (why.cause) {
        case MissingRecord::Cause::ServerUnreachable: {
            std::string when;
            if (since) {
                const LocalDateTime t = toLocal(*since);
                when = format("自 %02d:%02d:%02d 起", t.hour, t.minute, t.second);
            }
            return {"无法连接数据服务器！",
                    format("数据服务器 %s %s没有应答（%s），无法取得 %s 的数据。\n"
                           "请启动数据服务器，或在 文件 > 数据服务器… 中改正它的地址。",
                           server.c_str(), when.c_str(), why.serverProblem.c_str(), code.c_str()),
                    format("连接不上数据服务器，无法判断 %s", code.c_str())};
        }
        case MissingRecord::Cause::UnknownStock:
            return {"没有这只股票！",
                    format("数据服务器 %s 上没有股票 %s 的数据，请确认股票代码是正确的。",
                           server.c_str(), code.c_str()),
                    format("数据服务器上没有 %s", code.c_str())};
        case MissingRecord::Cause::HistoryTooShort:
            break;
    }
    return {"无法判断！", "股票交易数据太少，无法判断",
            format("%s 的交易数据太少，无法判断", code.c_str())};
}

struct StockFetch::Worker {
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
    std::jthread thread;
};

StockFetch::StockFetch(ShownStock& shown, DataFreshness& freshness, QObject* parent)
    : QObject(parent), shown_(shown), freshness_(freshness) {}

StockFetch::~StockFetch() {
    waitForFinished();
}

void StockFetch::fetch(const std::string& code) {
    reapFinished();
    const std::uint64_t generation = ++generation_;
    shown_.fetching(code, CodeTable::shared().getStockCodeName(code).value_or(""));
    Q_EMIT started();
    auto worker = std::make_unique<Worker>();
    worker->thread =
        std::jthread([self = QPointer(this), generation, code, finished = worker->finished] {
            FetchOutcome outcome;
            outcome.record = QXStockLib::defQXStockLib().getOneStockDataInfoFormServer(code);
            if (!outcome.record) {
                outcome.why = explainMissingRecord(code, kReasonTimeOutSeconds);
                outcome.serverAnswered =
                    outcome.why.cause != MissingRecord::Cause::ServerUnreachable;
            }
            postToMainThread([self, generation, code, outcome = std::move(outcome)] {
                if (self) self->answer(generation, code, outcome);
            });
            finished->store(true);
        });
    workers_.push_back(std::move(worker));
}

void StockFetch::answer(std::uint64_t generation, const std::string& code,
                        const FetchOutcome& outcome) {
    if (generation != generation_) return;  // a newer fetch took its place
    answered_ = generation;
    if (outcome.record) {
        freshness_.record(DataFreshness::Source::DataServer, true, now());
        shown_.show(CodeTable::shared().getStockCodeName(code).value_or(""), *outcome.record);
        Q_EMIT verdictShown(QString::fromStdString(code));
        Q_EMIT finished();
        return;
    }
    freshness_.record(DataFreshness::Source::DataServer, outcome.serverAnswered, now());
    const FetchFailureText text =
        fetchFailureText(outcome.why, code, MarketServers::shared()->dataServer,
                         freshness_.failingSince(DataFreshness::Source::DataServer));
    shown_.fail(code, text.verdict);
    // The fetch is over before its alert waits for the user.
    Q_EMIT finished();
    Q_EMIT failed(QString::fromStdString(text.title), QString::fromStdString(text.message));
}

bool StockFetch::isRunning() const {
    return answered_ != generation_;
}

void StockFetch::reapFinished() {
    std::erase_if(workers_, [](const auto& w) { return w->finished->load(); });
}

void StockFetch::waitForFinished() {
    workers_.clear();  // joins
    answered_ = generation_;
}

}  // namespace orvane::app
