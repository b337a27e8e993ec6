#include "application/DataFreshness.h"

#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/ServerPaths.h"

namespace orvane::app {

namespace {

constexpr double kProbeTimeOutSeconds = 4;

bool answers(const std::string& url, std::stop_token stop) {
    auto request = HttpRequest::requestWithURL(url);
    request->setTimeOutSeconds(kProbeTimeOutSeconds);
    std::stop_callback cancel(stop, [&] { request->cancel(); });
    request->startSynchronous();
    return !request->error() && request->responseStatusCode() == 200;
}

}  // namespace

bool DataFreshness::record(Source source, bool answered, TimePoint when) {
    std::lock_guard lock(mutex_);
    State& s = source == Source::DataServer ? data_ : quote_;
    const bool wasFailing = s.failingSince.has_value();
    if (answered) {
        s.lastGood = when;
        s.failingSince.reset();
    } else if (!wasFailing) {
        s.failingSince = s.lastGood.value_or(when);
    }
    return wasFailing != s.failingSince.has_value();
}

std::optional<std::string> DataFreshness::staleNotice() const {
    std::lock_guard lock(mutex_);
    const State* failing = data_.failingSince ? &data_ : quote_.failingSince ? &quote_ : nullptr;
    if (!failing) return std::nullopt;
    const LocalDateTime since = toLocal(*failing->failingSince);
    return format("行情数据停留在 %02d:%02d:%02d：%s无响应", since.hour, since.minute, since.second,
                  failing == &data_ ? "数据服务器" : "行情服务");
}

std::optional<TimePoint> DataFreshness::failingSince(Source source) const {
    std::lock_guard lock(mutex_);
    return (source == Source::DataServer ? data_ : quote_).failingSince;
}

bool DataFreshness::probe(std::stop_token stop) {
    const auto servers = MarketServers::shared();
    const bool data = answers(dataServerURL(serverpath::kUpdateConfigFile), stop);
    const bool quote = answers(quoteRequestURL(servers->quoteServer, "600000"), stop);
    if (stop.stop_requested()) return false;
    const TimePoint when = now();
    const bool a = record(Source::DataServer, data, when);
    const bool b = record(Source::QuoteService, quote, when);
    return a || b;
}

}  // namespace orvane::app
