#include "orvane/analysis/SidewaysRegion.h"

#include <array>
#include <cfloat>
#include <optional>
#include <vector>

namespace orvane {

bool isIndexCode(std::string_view code) {
    return code.starts_with("399");
}
bool isCompositeCode(std::string_view code) {
    return code.starts_with("399") || code.starts_with("510");
}

float regionBand(std::uint32_t kind, std::string_view code) {
    float band;
    switch (kind) {
        case kRegionWide:
            band = 1.25f;
            break;
        case kRegionNarrow:
            band = 1.12f;
            break;
        default:
            band = 1.17f;
            break;  // medium, model B and any other kind
    }
    if (isIndexCode(code)) band = (band - 1.0f) * 0.5f + 1.0f;
    return band;
}

std::int32_t getStockSildeWaysRgn(const HistoryView& history, std::string_view code,
                                  std::int32_t fromDay, std::uint32_t kind) {
    const float band = regionBand(kind, code);
    const std::int64_t E = history.size();
    if (E - 1 <= fromDay) return -1;
    std::int32_t examined = 0;
    float high = 0, low = 0;
    history.visitCountedCloses(fromDay, E - 1, [&](float c) {
        if (++examined == 1) {
            high = low = c;
        } else {
            if (c > high) high = c;
            if (c < low) low = c;
        }
        return !(high / low > band);
    });
    return examined - 1;
}

namespace {

constexpr std::int32_t kRegionStarts = 10;

// The closes of counted lines `front` .. `back` - 1 of a history, with their
// highest and lowest at hand: each line goes in once at the back and leaves
// once at the front, however many starts are measured. The queues live in
// the thread's own storage, kept between windows so that no window
// allocates, and are worked on through plain indexes.
class ClosesWindow {
  public:
    explicit ClosesWindow(const ParsedHistory& history) : history_(history) {
        // A queue never holds more lines than the history has counted.
        const auto lines = static_cast<std::size_t>(history.size());
        std::vector<std::size_t>& kept = storage();
        if (kept.size() < 2 * lines) kept.resize(2 * lines);
        highs_ = kept.data();
        lows_ = kept.data() + lines;
    }
    bool empty() const { return front_ == back_; }
    float high() const { return history_.countedClose(highs_[highFront_]); }
    float low() const { return history_.countedClose(lows_[lowFront_]); }
    std::size_t back() const { return back_; }

    // Drops the lines before `front` (all when the window starts later).
    void startAt(std::size_t front) {
        if (front >= back_) {
            front_ = back_ = front;
            highFront_ = highBack_ = lowFront_ = lowBack_ = 0;
            return;
        }
        front_ = front;
        while (highs_[highFront_] < front) ++highFront_;
        while (lows_[lowFront_] < front) ++lowFront_;
    }
    void pushBack(float close) {
        while (highBack_ > highFront_ && history_.countedClose(highs_[highBack_ - 1]) <= close)
            --highBack_;
        highs_[highBack_++] = back_;
        while (lowBack_ > lowFront_ && history_.countedClose(lows_[lowBack_ - 1]) >= close)
            --lowBack_;
        lows_[lowBack_++] = back_;
        ++back_;
    }

  private:
    static std::vector<std::size_t>& storage() {
        thread_local std::vector<std::size_t> kept;
        return kept;
    }

    const ParsedHistory& history_;
    std::size_t front_ = 0, back_ = 0;
    // Lines whose close no later line's exceeds (falls below), in order,
    // from the front index up to the back one.
    std::size_t* highs_;
    std::size_t* lows_;
    std::size_t highFront_ = 0, highBack_ = 0, lowFront_ = 0, lowBack_ = 0;
};

// getStockSildeWaysRgn for every start 1 .. 10 at once, or false when a
// close is not a positive finite number (where a region's band is no longer
// monotone in its days). A region from a later start holds fewer or the
// same days of the one from an earlier start up to its break, so its
// highest close is no higher and its lowest no lower: no day of it breaks
// the band, and the window of the earlier start carries on from its break.
// The comparisons are the scan's own, on the same closes.
bool regionsFromEachStart(const HistoryView& history, std::string_view code, std::uint32_t kind,
                          std::array<std::int32_t, kRegionStarts>& lengths) {
    const float band = regionBand(kind, code);
    const std::int64_t E = history.size();
    const ParsedHistory& lines = history.history();
    ClosesWindow window(lines);
    for (std::int32_t d = 1; d <= kRegionStarts; ++d) {
        std::int32_t& length = lengths[static_cast<std::size_t>(d - 1)];
        if (E - 1 <= d) {
            length = -1;
            continue;
        }
        const auto [begin, end] = history.historyElements(d, E - 1);
        if (begin >= end) {  // no line of the text from this start on
            length = -1;
            continue;
        }
        const std::size_t first = lines.firstCountedFrom(begin);
        window.startAt(first);
        for (;;) {
            const std::size_t next = window.back();
            if (!lines.countedBefore(next, end)) {  // the text ends first
                length = static_cast<std::int32_t>(next - first) - 1;
                break;
            }
            const float c = lines.countedClose(next);
            if (!(c > 0 && c <= FLT_MAX)) return false;
            // The band is checked when the highest or lowest close moves:
            // otherwise the quotient is the one already found within it.
            const bool start = window.empty();
            const float high = start || c > window.high() ? c : window.high();
            const float low = start || c < window.low() ? c : window.low();
            if ((start || high == c || low == c) && high / low > band) {
                length = static_cast<std::int32_t>(next - first);
                break;
            }
            window.pushBack(c);
        }
    }
    return true;
}

// The regions of `band` from every counted line of the whole text, in one
// pass: the window of the start before carries on from its break, as in
// regionsFromEachStart, with the same comparisons on the same closes.
RegionBreaks regionBreaksOf(const ParsedHistory& lines, float band) {
    RegionBreaks out{band, std::nullopt};
    const std::size_t total = lines.countedBeforeElement(lines.size());
    std::vector<std::int32_t> firstBreak(total);
    ClosesWindow window(lines);
    for (std::size_t j = 0; j < total; ++j) {
        window.startAt(j);
        for (std::size_t next = window.back(); next < total; next = window.back()) {
            const float c = lines.countedClose(next);
            if (!(c > 0 && c <= FLT_MAX)) return out;
            const bool start = window.empty();
            const float high = start || c > window.high() ? c : window.high();
            const float low = start || c < window.low() ? c : window.low();
            if ((start || high == c || low == c) && high / low > band) break;
            window.pushBack(c);
        }
        firstBreak[j] = static_cast<std::int32_t>(window.back());
    }
    out.firstBreak = std::move(firstBreak);
    return out;
}

// regionsFromEachStart read off a history's kept regions: a region ends at
// its break when the view holds it, else where the view's text ends.
bool regionsFromKeptBreaks(const HistoryView& history, std::string_view code, std::uint32_t kind,
                           std::array<std::int32_t, kRegionStarts>& lengths) {
    const ParsedHistory& lines = history.history();
    const float band = regionBand(kind, code);
    const RegionBreaks* kept = lines.keptRegionBreaks(band);
    if (!kept) kept = &lines.keepRegionBreaks(regionBreaksOf(lines, band));
    if (!kept->firstBreak) return false;
    const std::vector<std::int32_t>& firstBreak = *kept->firstBreak;
    const std::int64_t E = history.size();
    // The counted lines before the view's text ends, the same for every start.
    std::int64_t limit = -1;
    for (std::int32_t d = 1; d <= kRegionStarts; ++d) {
        std::int32_t& length = lengths[static_cast<std::size_t>(d - 1)];
        length = -1;
        if (E - 1 <= d) continue;
        const auto [begin, end] = history.historyElements(d, E - 1);
        if (begin >= end) continue;
        const auto first = static_cast<std::int64_t>(lines.firstCountedFrom(begin));
        if (limit < 0) limit = static_cast<std::int64_t>(lines.countedBeforeElement(end));
        if (first >= limit) continue;
        const std::int64_t breaksAt = firstBreak[static_cast<std::size_t>(first)];
        length = static_cast<std::int32_t>(breaksAt < limit ? breaksAt - first : limit - first - 1);
    }
    return true;
}

}  // namespace

LongestRegion longestSidewaysRegion(const HistoryView& history, std::string_view code,
                                    std::uint32_t kind) {
    std::array<std::int32_t, kRegionStarts> lengths{};
    // The kept breaks need every close of the text to be a positive number;
    // one that is not, anywhere, leaves the view's own scan, which stops at
    // its first break and so rarely reaches it.
    const bool kept = history.history().measuresRegionsOnce() &&
                      regionsFromKeptBreaks(history, code, kind, lengths);
    if (!kept && !regionsFromEachStart(history, code, kind, lengths))
        for (std::int32_t d = 1; d <= kRegionStarts; ++d)
            lengths[static_cast<std::size_t>(d - 1)] = getStockSildeWaysRgn(history, code, d, kind);
    LongestRegion best;
    for (std::int32_t d = 1; d <= kRegionStarts; ++d) {
        const std::int32_t length = lengths[static_cast<std::size_t>(d - 1)];
        if (d == 1 || length > best.length) best = {length, d};
    }
    return best;
}

void FilterMode_limitSlideway(const StockBox_Info& box, std::int32_t& score) {
    const float x = box.maxPrice / box.minPrice;
    if (double{x} <= 1.1) {
        if (box.endIndex >= 11) score += 10;
        if (double{box.maxPrice / box.endPrice} <= 1.05) score += 10;
        if (double{box.maxPrice / box.avgPrice} <= 1.05) score += 10;
    } else if (double{x} < 1.15) {
        score += 5;
    }
}

void FilterMode_Quellan(const StockBox_Info& box, const StockBox_Info& next, std::int32_t& score) {
    if (box.endIndex != 5) return;
    if (box.trend == kTrendRising && next.trend == kTrendSideways) score += 10;
    if (double{box.minPrice / next.minPrice} < 1.03) {
        if (double{box.startPrice / next.minPrice} < 1.08 &&
            double{box.startPrice / next.maxPrice} > 0.97)
            score += 10;
        else
            score += 5;
    }
}

}  // namespace orvane
