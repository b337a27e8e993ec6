#pragma once
// The one-stock fetch of the main window (诊断): today's record fetched on a
// worker while the window goes on. The shown stock says "being fetched" at
// once and then shows the record, or the real reason there is none: the data
// server cannot be reached (its address, and since when), the server knows
// no such stock, or the history is too short to judge. A newer fetch takes
// the place of an older one, whose answer is dropped. Each fetch runs on a
// thread of its own and hands its outcome to the main thread's dispatcher.

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "orvane/core/Clock.h"
#include "orvane/stocklib/MissingRecord.h"

namespace orvane::app {

class DataFreshness;
class ShownStock;
struct FetchOutcome;

/// The alert for a stock without a record: title and message.
struct FetchFailureText {
    std::string title;
    std::string message;
    /// The short form the verdict field shows.
    std::string verdict;
};
FetchFailureText fetchFailureText(const MissingRecord& why, const std::string& code,
                                  const std::string& server, std::optional<TimePoint> since);

class StockFetch : public QObject {
    Q_OBJECT
  public:
    StockFetch(ShownStock& shown, DataFreshness& freshness, QObject* parent = nullptr);
    ~StockFetch() override;

    /// Starts the fetch of `code` (a valid code); the shown stock becomes it.
    void fetch(const std::string& code);
    /// Whether the latest fetch has not been answered yet.
    bool isRunning() const;
    /// Waits for the fetches in flight (on quit); their answers are dropped.
    void waitForFinished();

  Q_SIGNALS:
    void started();
    /// The record is shown.
    void verdictShown(const QString& code);
    /// No record: the alert to show.
    void failed(const QString& title, const QString& message);
    void finished();

  private:
    struct Worker;
    void answer(std::uint64_t generation, const std::string& code, const FetchOutcome& outcome);
    void reapFinished();

    ShownStock& shown_;
    DataFreshness& freshness_;
    std::uint64_t generation_ = 0;
    std::uint64_t answered_ = 0;
    std::vector<std::unique_ptr<Worker>> workers_;
};

}  // namespace orvane::app
