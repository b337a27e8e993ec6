#include "orvane/analysis/StockBoxInfo.h"

#include <algorithm>

namespace orvane {

float windowThreshold(std::int64_t n) {
    if (n <= 0) return 1.0f;
    if (n < 10) return 1.09f;
    if (n < 30) return 1.15f;
    if (n < 100) return 1.2f;
    if (n < 200) return 1.25f;
    return 1.3f;
}

std::uint32_t classifyWindow(const StockBox_Info& box, std::int64_t countedDays) {
    const float F = box.startPrice, L = box.endPrice, A = box.avgPrice, H = box.maxPrice,
                M = box.minPrice;
    if (double{F / A} >= 1.065 && double{F / L} >= 1.2 && H / F <= windowThreshold(countedDays) &&
        double{H / M} >= 1.3)
        return kTrendRising;
    if (double{F / L} < 0.81 && double{F / A} <= 0.95 && double{F / M} >= 0.95 &&
        double{A / L} <= 0.95)
        return kTrendFalling;
    if (H / M < 2.25f && double{F / M} >= 0.95 && double{F / A} <= 1.065 &&
        double{L / A} <= 1.065 && double{A / M} <= 1.1715)
        return kTrendSideways;
    return kTrendUnclear;
}

namespace {

// The running figures of a window's closes, newest first.
struct RunningCloses {
    std::int64_t count = 0;
    float sum = 0, first = 0, high = 0, low = 0, last = 0;

    void add(float c) {
        ++count;
        sum += c;
        if (count == 1) {
            first = high = low = c;
        } else {
            if (c > high) high = c;
            if (c < low) low = c;
        }
        last = c;
    }
    StockBox_Info box(const HistoryView& history, std::int32_t days, std::int32_t offset) const {
        StockBox_Info box;
        const std::int64_t E = history.size();
        box.endIndex = static_cast<std::int32_t>(
            std::min<std::int64_t>(std::int64_t{offset} + days, E - 1) - 1);
        if (count > 0) {
            box.startPrice = first;
            box.maxPrice = high;
            box.minPrice = low;
            box.endPrice = last;
        }
        box.avgPrice = sum / static_cast<float>(count);
        box.trend = classifyWindow(box, count);
        return box;
    }
};

}  // namespace

StockBox_Info windowStatistics(const HistoryView& history, std::int32_t days, std::int32_t offset) {
    RunningCloses run;
    history.visitCountedCloses(offset, history.size(), [&](float c) {
        run.add(c);
        return run.count < days;
    });
    return run.box(history, days, offset);
}

namespace {

// The closes windows `days`[done], ... hold at least, at least one.
std::int64_t closesOf(std::span<const std::int32_t> days, std::size_t done) {
    return std::max<std::int64_t>(days[done], 1);
}

// Boxes the windows from `done` on that `run` completes; the windows done
// after. Kept out of the pass over the closes (and `run` handed over as a
// copy) so that the pass keeps its figures in registers.
[[gnu::noinline]] std::size_t finishWindows(const HistoryView& history, std::int32_t offset,
                                            std::span<const std::int32_t> days,
                                            std::span<StockBox_Info> boxes, std::size_t done,
                                            const RunningCloses run) {
    for (; done < days.size() && closesOf(days, done) <= run.count; ++done)
        boxes[done] = run.box(history, days[done], offset);
    return done;
}

// The counted closes of elements `offset` .. `later` - 1 of a view, both at
// least 1; -1 when the view's lines end before `later`.
std::int64_t countedBetween(const HistoryView& history, std::int32_t offset, std::int32_t later) {
    const auto [laterBegin, end] = history.historyElements(later, history.size());
    if (laterBegin >= end) return -1;
    const std::int64_t begin = history.historyElements(offset, history.size()).first;
    const ParsedHistory& lines = history.history();
    return static_cast<std::int64_t>(lines.firstCountedFrom(laterBegin)) -
           static_cast<std::int64_t>(lines.firstCountedFrom(begin));
}

// Adds closes `from` .. `to` - 1 of `x` to a window already holding its
// first (at or before `from`).
void addCloses(RunningCloses& run, const float* x, std::int64_t from, std::int64_t to) {
    float sum = run.sum, high = run.high, low = run.low;
    for (std::int64_t k = from; k < to; ++k) {
        const float c = x[k];
        sum += c;
        if (c > high) high = c;
        if (c < low) low = c;
    }
    run.sum = sum, run.high = high, run.low = low;
    run.count += to - from;
    run.last = x[to - 1];
}

// Both windows' closes `from` .. `to` - 1: their sums side by side.
void addClosesToBoth(RunningCloses& a, RunningCloses& b, const float* x, std::int64_t from,
                     std::int64_t to) {
    float sumA = a.sum, highA = a.high, lowA = a.low;
    float sumB = b.sum, highB = b.high, lowB = b.low;
    for (std::int64_t k = from; k < to; ++k) {
        const float c = x[k];
        sumA += c;
        sumB += c;
        if (c > highA) highA = c;
        if (c < lowA) lowA = c;
        if (c > highB) highB = c;
        if (c < lowB) lowB = c;
    }
    a.sum = sumA, a.high = highA, a.low = lowA;
    b.sum = sumB, b.high = highB, b.low = lowB;
    a.count += to - from;
    b.count += to - from;
    a.last = b.last = x[to - 1];
}

// A window's first close: its highest and lowest so far.
void startWith(RunningCloses& run, float c) {
    run.first = run.high = run.low = c;
}

}  // namespace

StockBox_Info windowsFromOneOffset(const HistoryView& history, std::int32_t offset,
                                   std::span<const std::int32_t> days,
                                   std::span<StockBox_Info> boxes, std::int32_t laterDays,
                                   std::int32_t laterOffset) {
    const ParsedHistory& lines = history.history();
    const auto [begin, end] = history.historyElements(offset, history.size());
    const std::int64_t skip = countedBetween(history, offset, laterOffset);
    const std::int64_t longest = days.empty() ? 0 : closesOf(days, days.size() - 1);
    const std::int64_t laterCloses = skip < 0 ? 0 : std::max<std::int64_t>(laterDays, 1);
    const std::int64_t wanted = std::max(longest, skip + laterCloses);

    // The closes from the offset on, as many as the windows take or the
    // view has.
    std::int64_t have = 0;
    const float* x = nullptr;
    if (begin < end && wanted > 0) {
        const std::size_t first = lines.firstCountedFrom(begin);
        have = lines.countedBefore(first + static_cast<std::size_t>(wanted) - 1, end)
                   ? wanted
                   : static_cast<std::int64_t>(lines.countedBeforeElement(end) - first);
        x = lines.countedCloses() + first;
    }
    const std::int64_t ownEnd = std::min(longest, have);
    const std::int64_t laterBegin = skip < 0 ? have : std::min(skip, have);
    const std::int64_t laterEnd = std::min(laterBegin + laterCloses, have);

    RunningCloses run, later;
    if (ownEnd > 0) startWith(run, x[0]);
    if (laterBegin < laterEnd) startWith(later, x[laterBegin]);
    std::size_t done = 0;
    // From one place where a window starts, ends or is taken to the next.
    for (std::int64_t at = 0; at < std::max(ownEnd, laterEnd);) {
        std::int64_t next = std::max(ownEnd, laterEnd);
        if (at < ownEnd) next = std::min(next, ownEnd);
        if (done < days.size()) next = std::min(next, std::max(closesOf(days, done), at + 1));
        if (at < laterBegin) next = std::min(next, laterBegin);
        if (at < laterEnd) next = std::min(next, laterEnd);
        const bool own = at < ownEnd, alongside = at >= laterBegin && at < laterEnd;
        if (own && alongside)
            addClosesToBoth(run, later, x, at, next);
        else if (own)
            addCloses(run, x, at, next);
        else if (alongside)
            addCloses(later, x, at, next);
        at = next;
        done = finishWindows(history, offset, days, boxes, done, run);
    }
    // The closes ran out first: the rest hold all there are.
    for (; done < days.size(); ++done) boxes[done] = run.box(history, days[done], offset);
    return later.box(history, laterDays, laterOffset);
}

void windowsFromOneOffset(const HistoryView& history, std::int32_t offset,
                          std::span<const std::int32_t> days, std::span<StockBox_Info> boxes) {
    // A later window that starts past the view takes no closes.
    if (!days.empty())
        windowsFromOneOffset(history, offset, days, boxes, 0,
                             static_cast<std::int32_t>(history.size()));
}

}  // namespace orvane
