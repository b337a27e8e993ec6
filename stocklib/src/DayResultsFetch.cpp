#include "orvane/stocklib/DayResultsFetch.h"

#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ServerPaths.h"

namespace orvane {

FetchedDayResults fetchDayResults(std::stop_token stop) {
    FetchedDayResults out;
    const std::string url = dataServerURL(serverpath::kDayResultsFile);
    auto request = HttpRequest::requestWithURL(url);
    request->setTimeOutSeconds(30);
    {
        std::stop_callback cancel(stop, [&] { request->cancel(); });
        request->startSynchronous();
    }
    if (request->error()) {
        out.error = "the data server did not answer " + url + ": " + *request->error();
        return out;
    }
    if (request->responseStatusCode() == 404) {
        out.error = "the data server has no day's results (" + url +
                    "): its tree was published before they existed; publish it again";
        return out;
    }
    if (request->responseStatusCode() != 200) {
        out.error = "the data server answered " + std::to_string(request->responseStatusCode()) +
                    " for " + url;
        return out;
    }
    DayResultsRead read = parseDayResults(request->responseData());
    if (!read.error.empty()) {
        out.error = url + ": " + read.error;
        return out;
    }
    out.results = std::move(read.results);
    out.refusedLines = read.refusedLines;
    return out;
}

}  // namespace orvane
