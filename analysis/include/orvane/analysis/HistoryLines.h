#pragma once
// A stock's history text, split once. Element 0 is the header, element k the
// k-th newest day; elements are exactly those of splitting the text on every
// newline character (empty elements and the trailing empty element kept).
// The split only notes where each element starts; day lines are read into
// their fields on first use, the newest first, so an analysis reads only as
// far back as the oldest day it looks at. A historical-day view (the text as
// it stood with day k as its newest day) is an offset into the same lines,
// not a copy.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

/// One element of the history text with the fields the engine reads.
struct DayLine {
    std::string_view text;
    std::uint32_t length = 0;                  // characters (UTF-16 code units)
    std::uint32_t fields = 1;                  // elements of its split on ","
    std::string_view date;                     // field 0
    std::uint32_t openAt = 0, openLength = 0;  // field 1 within text (none when absent)
    float close = 0;                           // field 4
    bool traded = false;  // field 5, the volume, not below 10 (suspended days trade less)

    bool empty() const { return length == 0; }
    /// Field 1 as a number (0 when absent), read when asked: only the day a
    /// session trades needs it, so the scans over the days never read it.
    float open() const;
    /// A day the windows and regions count: a whole day line (seven fields
    /// or more, so never empty) that traded.
    bool counted() const { return fields >= 7 && traded; }
};

/// What an element outside a view reads as.
inline constexpr DayLine kEmptyDayLine{};

/// Where the sideways regions of one band end, for a history whose regions
/// are measured from many of its days: for each counted line, the first
/// counted line at or after it whose close takes the region's highest close
/// over its lowest above the band (the count of counted lines when none
/// does); nothing when a close is not a positive finite number.
struct RegionBreaks {
    float band = 0;
    std::optional<std::vector<std::int32_t>> firstBreak;
};

/// Where each element of a text starts, in order (the first at 0): one more
/// than the text has newline characters.
class ElementStarts {
  public:
    explicit ElementStarts(std::string_view text);

    std::size_t size() const { return size_; }
    std::size_t operator[](std::size_t i) const { return at_[i]; }

  private:
    // Room for at least `more` starts beyond those found.
    void reserveMore(std::size_t more);

    std::unique_ptr<std::size_t[]> at_;
    std::size_t size_ = 0, capacity_ = 0;
};

class ParsedHistory {
  public:
    explicit ParsedHistory(std::string_view text);
    ParsedHistory(const ParsedHistory&) = delete;
    ParsedHistory& operator=(const ParsedHistory&) = delete;

    std::int64_t size() const { return static_cast<std::int64_t>(starts_.size()); }
    /// Element i, 0 <= i < size(). The reference stays valid as long as the
    /// history lives.
    const DayLine& line(std::int64_t i) const {
        const auto at = static_cast<std::size_t>(i);
        if (at >= lines_.size()) readLinesUpTo(at);
        return lines_[at];
    }
    std::string_view text() const { return text_; }

    /// Calls visit(close) for the close of each counted line (DayLine::counted)
    /// of elements `from` .. `to` - 1 in order, until visit returns false.
    template <typename Visit>
    void visitCountedCloses(std::int64_t from, std::int64_t to, Visit&& visit) const;

    // The counted lines by number, 0 the first of the text: the number of
    // the first at or after element `from`, and whether number `j` lies
    // before element `to` (reading the text as far as these need).
    std::size_t firstCountedFrom(std::int64_t from) const {
        countUpTo(from + 1);
        return static_cast<std::size_t>(firstCountedFrom_[static_cast<std::size_t>(from)]);
    }
    bool countedBefore(std::size_t j, std::int64_t to) const {
        to = std::min(to, size());
        while (j >= countedClose_.size()) {
            const auto read = static_cast<std::int64_t>(firstCountedFrom_.size());
            if (read >= to) return false;
            countUpTo(read + 1);
        }
        return countedLine_[j] < to;
    }
    /// The close of counted line `j`, once countedBefore has reached it.
    float countedClose(std::size_t j) const { return countedClose_[j]; }
    /// The counted lines' closes in order, as far as countedBefore has
    /// reached: they never move once read.
    const float* countedCloses() const { return countedClose_.data(); }
    /// The number of counted lines before element `to`.
    std::size_t countedBeforeElement(std::int64_t to) const;

    /// For a caller that analyses the history as it stood on many of its
    /// days: the sideways regions are then measured once over the whole text
    /// for every start and kept, rather than scanned again for each day.
    void measureRegionsOnce() { measureRegionsOnce_ = true; }
    bool measuresRegionsOnce() const { return measureRegionsOnce_; }
    /// The regions of `band` kept so far (null when not yet measured), and
    /// keeping them.
    const RegionBreaks* keptRegionBreaks(float band) const;
    const RegionBreaks& keepRegionBreaks(RegionBreaks breaks) const;

  private:
    // Reads elements up to `upTo` (exclusive), a block at a time, into the
    // counted closes.
    void countUpTo(std::int64_t upTo) const;
    // Reads the elements from the first unread one through `last` into lines.
    void readLinesUpTo(std::size_t last) const;

    std::string_view text_;
    ElementStarts starts_;
    // The elements read so far, a prefix of the text's; room for all of them
    // is reserved up front, so a line once read never moves.
    mutable std::vector<DayLine> lines_;
    // The counted lines' closes and element indexes in order, kept
    // contiguous so that the windows and regions, which scan the same days
    // again and again, read them without touching the lines; and for each
    // element read so far the first counted line at or after it.
    mutable std::vector<float> countedClose_;
    mutable std::vector<std::int32_t> countedLine_;
    mutable std::vector<std::int32_t> firstCountedFrom_;
    bool measureRegionsOnce_ = false;
    // Few: one for each band measured.
    mutable std::vector<RegionBreaks> regionBreaks_;
};

template <typename Visit>
void ParsedHistory::visitCountedCloses(std::int64_t from, std::int64_t to, Visit&& visit) const {
    to = std::min(to, size());
    if (from >= to) return;
    std::size_t j = firstCountedFrom(from);
    while (countedBefore(j, to)) {
        // The closes read so far that lie before `to`, in one run: the loop
        // over them calls nothing, so what `visit` keeps stays in registers.
        auto end = countedClose_.size();
        if (countedLine_[end - 1] >= to)
            end = static_cast<std::size_t>(
                std::lower_bound(countedLine_.begin() + static_cast<std::ptrdiff_t>(j),
                                 countedLine_.end(), to) -
                countedLine_.begin());
        const float* closes = countedClose_.data();
        for (; j < end; ++j)
            if (!visit(closes[j])) return;
    }
}

/// The history as one operation sees it: the header, then the original
/// elements from `first` on, then `extras` empty elements. The whole text is
/// (1, 0); the view of day k of the whole text is (k, 1): its text ends with a
/// line break after the last original element, which adds one more empty
/// element.
class HistoryView {
  public:
    explicit HistoryView(const ParsedHistory& history) : history_(&history) {}

    std::int64_t size() const { return 1 + realLines() + extras_; }
    /// Element i; an index outside 0 .. size() - 1 reads as an empty element.
    const DayLine& operator[](std::int64_t i) const {
        if (i == 0) return history_->line(0);
        if (i < 0 || i > realLines()) return kEmptyDayLine;
        return history_->line(first_ + i - 1);
    }

    /// The view of day k: the header followed by elements k, k + 1, ... of
    /// this one, each followed by a line break. Nothing when k is outside
    /// 1 .. size() - 1.
    std::optional<HistoryView> dayView(std::int64_t k) const;

    const ParsedHistory& history() const { return *history_; }

    /// Calls visit(close) for the close of each counted line (DayLine::counted)
    /// of elements `from` .. `to` - 1 of this view in order, until visit
    /// returns false: what a loop over operator[] skipping the lines not
    /// counted reads, without its per-line checks.
    template <typename Visit>
    void visitCountedCloses(std::int64_t from, std::int64_t to, Visit&& visit) const {
        from = std::max<std::int64_t>(from, 0);
        to = std::min(to, size());
        if (from == 0 && to > 0) {
            const DayLine& header = history_->line(0);
            if (header.counted() && !visit(header.close)) return;
            from = 1;
        }
        const auto [begin, end] = historyElements(from, to);
        history_->visitCountedCloses(begin, end, visit);
    }

    /// The history's elements that elements `from` .. `to` - 1 of this view
    /// (from at least 1) are, as [first, second); the extras are none.
    std::pair<std::int64_t, std::int64_t> historyElements(std::int64_t from,
                                                          std::int64_t to) const {
        const std::int64_t last = std::min(to - 1, realLines());
        if (from > last) return {0, 0};
        return {first_ + from - 1, first_ + last};
    }

  private:
    HistoryView(const ParsedHistory& history, std::int64_t first, std::int64_t extras)
        : history_(&history), first_(first), extras_(extras) {}
    std::int64_t realLines() const {
        return first_ < history_->size() ? history_->size() - first_ : 0;
    }

    const ParsedHistory* history_;
    std::int64_t first_ = 1;
    std::int64_t extras_ = 0;
};

}  // namespace orvane
