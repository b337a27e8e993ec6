#include "HistoryBuilder.h"

#include <cstdio>

#include "orvane/core/LocalTime.h"

namespace orvane::test {

HistoryBuilder::HistoryBuilder(std::string newestDate) : newest_(std::move(newestDate)) {}

std::string HistoryBuilder::dateOf(int index) const {
    LocalDateTime t = *parseDate(newest_);
    t.hour = 12;
    auto shifted = toLocal(fromLocal(t) - std::chrono::hours(24 * index));
    return formatDate(shifted);
}

HistoryBuilder& HistoryBuilder::day(double close, double volume, double open) {
    return candle(open < 0 ? close : open, close, close, close, volume);
}

HistoryBuilder& HistoryBuilder::candle(double open, double high, double low, double close,
                                       double volume) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s,%.2f,%.2f,%.2f,%.2f,%.0f,%.2f",
                  dateOf(static_cast<int>(lines_.size())).c_str(), open, high, low, close, volume,
                  close);
    lines_.emplace_back(buf);
    return *this;
}

HistoryBuilder& HistoryBuilder::days(const std::vector<double>& closes, double volume) {
    for (double c : closes) day(c, volume);
    return *this;
}

HistoryBuilder& HistoryBuilder::raw(std::string line) {
    lines_.push_back(std::move(line));
    return *this;
}

HistoryBuilder& HistoryBuilder::flat(int count, double close) {
    for (int i = 0; i < count; ++i) day(close);
    return *this;
}

HistoryBuilder& HistoryBuilder::ramp(int count, double close, double stepBack, double volume,
                                     double volumeStepBack) {
    for (int i = 0; i < count; ++i) day(close + i * stepBack, volume + i * volumeStepBack);
    return *this;
}

std::string HistoryBuilder::text() const {
    std::string t = "Date,Open,High,Low,Close,Volume,Adj Close\n";
    for (const std::string& line : lines_) t += line + "\n";
    return t;
}

}  // namespace orvane::test
