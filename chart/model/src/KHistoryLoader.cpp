#include "orvane/chart/KHistoryLoader.h"

#include <algorithm>
#include <fstream>

#include "orvane/chart/KDerivedValues.h"
#include "orvane/core/HistoryReader.h"

namespace orvane::chart {

namespace {

// One file line as a day, or false when the line is not accepted.
bool readDay(std::string_view line, KSection& day) {
    if (line.empty()) return false;
    if (dayFieldCount(line) < kVolumeField + 1) return false;
    const std::vector<std::string_view> fields = dayFields(line);
    const float open = fieldFloat(fields[kOpenField]);
    const float high = fieldFloat(fields[kHighField]);
    const float low = fieldFloat(fields[kLowField]);
    const float close = fieldFloat(fields[kCloseField]);
    // The low is judged by its whole-number part, so a low below 1.0 drops the day.
    if (!(static_cast<double>(open) >= 0.001 && static_cast<double>(high) >= 0.001 &&
          static_cast<double>(close) >= 0.001 && fieldWhole(fields[kLowField]) != 0))
        return false;
    day.date.assign(fields[kDateField]);
    day.openPrice = open;
    day.highPrice = high;
    day.lowPrice = low;
    day.closePrice = close;
    day.volume = fieldFloat(fields[kVolumeField]);
    return true;
}

}  // namespace

std::vector<KSection> parseKSections(std::string_view text) {
    const std::vector<std::string_view> lines = historyElements(text);
    std::vector<KSection> days;
    days.reserve(lines.size());
    // From the last line down to line 1; line 0 is the header.
    for (std::size_t i = lines.size(); i-- > 1;) {
        KSection day;
        if (readDay(lines[i], day)) days.push_back(std::move(day));
    }
    std::stable_sort(days.begin(), days.end(),
                     [](const KSection& a, const KSection& b) { return compareDate(a, b) < 0; });
    calculateRiseFallAndMA(days);
    return days;
}

std::vector<KSection> loadKSections(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    // Read in pieces up to just past the limit: a file's stated size is not
    // trusted (pipes, files growing while read).
    std::string text;
    std::error_code ec;
    const auto stated = std::filesystem::file_size(path, ec);
    if (!ec) text.reserve(std::min<std::uintmax_t>(stated, kHistoryReadLimit) + 1);
    char buffer[1 << 16];
    while (text.size() <= kHistoryReadLimit && in.read(buffer, sizeof buffer).gcount() > 0)
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kHistoryReadLimit) {
        // Keep only whole lines: cut after the last newline below the limit.
        text.resize(kHistoryReadLimit);
        const std::size_t lastBreak = text.find_last_of('\n');
        text.resize(lastBreak == std::string::npos ? 0 : lastBreak);
    }
    return parseKSections(text);
}

}  // namespace orvane::chart
