#include "orvane/stocklib/MissingRecord.h"

#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ServerPaths.h"

namespace orvane {

MissingRecord explainMissingRecord(std::string_view code, double timeoutSeconds) {
    if (auto problem = dataServerProblem(timeoutSeconds))
        return {MissingRecord::Cause::ServerUnreachable, std::move(*problem)};
    auto history = HttpRequest::requestWithURL(dataServerURL(serverpath::historyFilePath(code)));
    history->setTimeOutSeconds(timeoutSeconds);
    history->startSynchronous();
    if (history->error()) return {MissingRecord::Cause::ServerUnreachable, *history->error()};
    if (history->responseStatusCode() != 200) return {MissingRecord::Cause::UnknownStock, {}};
    return {MissingRecord::Cause::HistoryTooShort, {}};
}

}  // namespace orvane
