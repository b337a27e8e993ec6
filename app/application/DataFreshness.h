#pragma once
// Whether the data server and the quote service still answer. The holdings
// worker probes both now and then; while either fails, the status line says
// since when the shown figures are old (the last good figures stay: files
// are only replaced by complete downloads).

#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

#include "orvane/core/Clock.h"

namespace orvane::app {

class DataFreshness {
  public:
    enum class Source { DataServer, QuoteService };

    /// Any thread. Returns true when the notice changed.
    bool record(Source source, bool answered, TimePoint when);
    /// "行情数据停留在 HH:mm:ss：数据服务器无响应" (or the quote service), from
    /// the first failure on; nothing while both answer.
    std::optional<std::string> staleNotice() const;
    /// Since when the source has not answered (its last good answer, or the
    /// first failure when it never answered); nothing while it answers.
    std::optional<TimePoint> failingSince(Source source) const;

    /// Probes both services once (synchronously, a few seconds at most) and
    /// records the answers; true when the notice changed.
    bool probe(std::stop_token stop = {});

  private:
    struct State {
        std::optional<TimePoint> lastGood;
        std::optional<TimePoint> failingSince;
    };
    mutable std::mutex mutex_;
    State data_, quote_;
};

}  // namespace orvane::app
