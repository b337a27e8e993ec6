#include "orvane/analysis/HistoryLines.h"

#include "orvane/core/HistoryReader.h"

namespace orvane {

float DayLine::open() const {
    return fieldFloat(text.substr(openAt, openLength));
}

void parseDayLine(DayLine& line) {
    const DayLineScan scan =
        scanDayFields(line.text, [&line](std::size_t field, std::string_view value) {
            switch (field) {
                case kDateField:
                    line.date = value;
                    break;
                case kOpenField:
                    line.openAt = static_cast<std::uint32_t>(value.data() - line.text.data());
                    line.openLength = static_cast<std::uint32_t>(value.size());
                    break;
                case kCloseField:
                    line.close = fieldFloat(value);
                    break;
                case kVolumeField:
                    line.volume = fieldFloat(value);
                    break;
                default:
                    break;
            }
        });
    line.fields = static_cast<std::uint32_t>(scan.fields);
    line.length =
        static_cast<std::uint32_t>(scan.ascii ? line.text.size() : utf16Length(line.text));
    line.parsed = true;
}

ParsedHistory::ParsedHistory(std::string_view text) : text_(text) {
    const std::vector<std::string_view> elements = historyElements(text);
    lines_.resize(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) lines_[i].text = elements[i];
}

void ParsedHistory::countUpTo(std::int64_t upTo) const {
    // A block at a time: the scans reach further step by step.
    constexpr std::int64_t kBlock = 64;
    const auto read = static_cast<std::int64_t>(firstCountedFrom_.size());
    if (upTo <= read) return;
    const std::int64_t end = std::min(size(), std::max(upTo, read + kBlock));
    for (std::int64_t i = read; i < end; ++i) {
        firstCountedFrom_.push_back(static_cast<std::int32_t>(countedClose_.size()));
        const DayLine& day = line(i);
        if (!day.counted()) continue;
        countedClose_.push_back(day.close);
        countedLine_.push_back(static_cast<std::int32_t>(i));
    }
}

std::optional<HistoryView> HistoryView::dayView(std::int64_t k) const {
    const std::int64_t n = size();
    if (n < 2 || k < 1 || k > n - 1) return std::nullopt;
    if (k <= realLines()) return HistoryView(*history_, first_ + k - 1, extras_ + 1);
    return HistoryView(*history_, history_->size(), n - k + 1);
}

}  // namespace orvane
