#include "orvane/analysis/HistoryLines.h"

#include "LineScan.h"
#include "orvane/core/HistoryReader.h"

namespace orvane {

namespace {

// Bytes of the newline sequence that ends just before `start`, the start of
// an element other than the first: every sequence ends in a byte of its own.
std::size_t newlineBefore(std::string_view text, std::size_t start) {
    switch (static_cast<unsigned char>(text[start - 1])) {
        case 0x85:
            return 2;  // NEL
        case 0xA8:
        case 0xA9:
            return 3;  // LINE, PARAGRAPH SEPARATOR
        default:
            return 1;  // LF, VT, FF, CR
    }
}

}  // namespace

float DayLine::open() const {
    return fieldFloat(text.substr(openAt, openLength));
}

ParsedHistory::ParsedHistory(std::string_view text) : text_(text), starts_(text) {
    lines_.reserve(starts_.size());
    countedClose_.reserve(starts_.size());
    countedLine_.reserve(starts_.size());
    firstCountedFrom_.reserve(starts_.size());
}

void ParsedHistory::readLinesUpTo(std::size_t last) const {
    for (std::size_t i = lines_.size(); i <= last; ++i) {
        const std::size_t start = starts_[i];
        const std::size_t end = i + 1 < starts_.size()
                                    ? starts_[i + 1] - newlineBefore(text_, starts_[i + 1])
                                    : text_.size();
        DayLine& line = lines_.emplace_back();
        line.text = text_.substr(start, end - start);
        readDayLine(line, text_.size() - start);
    }
}

std::size_t ParsedHistory::countedBeforeElement(std::int64_t to) const {
    if (to < size()) return to <= 0 ? 0 : firstCountedFrom(to);
    countUpTo(size());
    return countedClose_.size();
}

const RegionBreaks* ParsedHistory::keptRegionBreaks(float band) const {
    for (const RegionBreaks& kept : regionBreaks_)
        if (kept.band == band) return &kept;
    return nullptr;
}

const RegionBreaks& ParsedHistory::keepRegionBreaks(RegionBreaks breaks) const {
    return regionBreaks_.emplace_back(std::move(breaks));
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
