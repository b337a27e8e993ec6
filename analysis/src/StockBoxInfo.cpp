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

}  // namespace

void windowsFromOneOffset(const HistoryView& history, std::int32_t offset,
                          std::span<const std::int32_t> days, std::span<StockBox_Info> boxes) {
    if (days.empty()) return;
    RunningCloses run;
    std::size_t done = 0;
    std::int64_t next = closesOf(days, 0);
    history.visitCountedCloses(offset, history.size(), [&](float c) {
        run.add(c);
        if (run.count < next) return true;
        done = finishWindows(history, offset, days, boxes, done, run);
        if (done == days.size()) return false;
        next = closesOf(days, done);
        return true;
    });
    // The closes ran out first: the rest hold all there are.
    for (; done < days.size(); ++done) boxes[done] = run.box(history, days[done], offset);
}

}  // namespace orvane
