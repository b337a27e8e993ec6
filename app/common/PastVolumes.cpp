#include "common/PastVolumes.h"

#include <algorithm>
#include <charconv>

#include "orvane/core/LocalTime.h"
#include "orvane/market/HistoryText.h"
#include "orvane/market/HttpRequest.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ServerPaths.h"

namespace orvane::app {

namespace {
constexpr std::size_t kPastDays = 5;
constexpr std::size_t kVolumeField = 5;  // date,open,high,low,close,volume,adj close

std::optional<double> volumeOfLine(std::string_view line) {
    for (std::size_t field = 0; field < kVolumeField; ++field) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) return std::nullopt;
        line.remove_prefix(comma + 1);
    }
    line = line.substr(0, line.find(','));
    double volume = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), volume);
    if (error != std::errc() || end == line.data()) return std::nullopt;
    return volume;
}
}  // namespace

std::vector<double> pastDaysLots(std::string_view historyText, std::string_view today) {
    const std::string past = historyBeforeDay(historyText, today);
    std::vector<double> lots;
    // Line 0 is the header.
    for (std::size_t index = 1; lots.size() < kPastDays; ++index) {
        const auto line = historyLine(past, index);
        if (!line || line->empty()) break;
        if (const auto volume = volumeOfLine(*line)) lots.push_back(*volume);
    }
    std::reverse(lots.begin(), lots.end());
    return lots;
}

std::optional<std::vector<double>> fetchPastDaysLots(const std::string& code,
                                                     std::string_view today) {
    auto request = HttpRequest::requestWithURL(dataServerURL(serverpath::historyFilePath(code)));
    request->startSynchronous();
    if (request->responseStatusCode() != 200) return std::nullopt;
    const auto text = request->responseString();
    if (!text) return std::nullopt;
    return pastDaysLots(*text, today);
}

bool PastVolumesAsked::ask(const std::string& code, const std::string& today) {
    auto [at, added] = askedOn_.try_emplace(code, today);
    if (added) return true;
    if (at->second == today) return false;
    at->second = today;
    return true;
}

std::string todayText() {
    return formatDate(toLocal(now()));
}

}  // namespace orvane::app
