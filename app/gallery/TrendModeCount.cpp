#include "gallery/TrendModeCount.h"

#include "orvane/core/DataDirectory.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ServerPaths.h"

namespace orvane::app {

namespace {

constexpr const char* kCountKey = "allTrendupModeNum";

std::filesystem::path localCountFile() {
    return dataPath("trendupMode.plist");
}

}  // namespace

std::int32_t getServerTrendModeNum(std::stop_token stop) {
    auto request = HttpRequest::requestWithURL(dataServerURL(serverpath::kTrendUpModeIni));
    request->setTimeOutSeconds(5);
    std::stop_callback cancel(stop, [&] { request->cancel(); });
    request->startSynchronous();
    if (request->error()) return 0;
    const std::string text = request->responseString().value_or("");
    if (!text.starts_with("count=")) return 0;
    return leadingInt(std::string_view(text).substr(6));
}

std::int32_t getLocalTrendModeNum() {
    const auto stored = readPropertyList(localCountFile());
    if (!stored || !stored->isDictionary()) return 0;
    const Value* count = find(stored->dictionary(), kCountKey);
    return count && count->isNumber() ? static_cast<std::int32_t>(count->toInteger()) : 0;
}

bool saveFileInfo(std::int32_t page) {
    if (page <= getLocalTrendModeNum()) return true;
    return writePropertyList(localCountFile(), Value(Dictionary{{kCountKey, Value(page)}}));
}

}  // namespace orvane::app
