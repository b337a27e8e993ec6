#include "orvane/analysis/StockScore.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <span>
#include <tuple>

namespace orvane {

std::int32_t regionLengthPoints(std::uint32_t kind, std::int32_t n) {
    switch (kind) {
        case kRegionWide:
            if (n >= 115) return 25;
            if (n >= 90) return 20;
            if (n >= 70) return 16;
            if (n >= 50) return 12;
            if (n >= 35) return 8;
            if (n >= 25) return 4;
            return 0;
        case kRegionMedium:
            if (n >= 110) return 25;
            if (n >= 80) return 20;
            if (n >= 60) return 15;
            if (n >= 35) return 10;
            if (n >= 25) return 5;
            return 0;
        case kRegionNarrow:
            if (n >= 60) return 36;
            if (n >= 40) return 28;
            if (n >= 30) return 25;
            if (n >= 25) return 18;
            if (n >= 20) return 12;
            if (n >= 16) return 6;
            return 0;
        default:
            return 0;
    }
}

std::int32_t fileterSlideWaysBefore(std::int32_t offset) {
    return offset >= 1 && offset <= 5 ? 6 - offset : 0;
}

std::int32_t fileterAngleModel(float ratio, std::uint32_t bandSet) {
    const double r = ratio;
    switch (bandSet) {
        case kRegionNarrow:
            if (r >= 0.98 && r <= 1.03) return 5;
            if (r > 1.03 && r <= 1.06) return 15;
            if (r > 1.06 && r <= 1.09) return 10;
            if (r > 1.09) return 5;
            return 0;
        case kRegionMedium:
            if (r >= 1.03 && r <= 1.05) return 15;
            if (r > 1.05 && r <= 1.08) return 10;
            if (r > 1.08) return 5;
            return 0;
        case kRegionWide:
            if (r >= 1.03 && r <= 1.05) return 15;
            if (r > 1.05 && r <= 1.07) return 10;
            if (r > 1.07) return 5;
            return 0;
        default:
            return 0;
    }
}

std::int32_t fileterAngleModelforComposite(float ratio, std::uint32_t bandSet) {
    const double r = ratio;
    switch (bandSet) {
        case kRegionNarrow:
            if (r >= 0.98 && r <= 1.01) return 5;
            if (r > 1.01 && r <= 1.025) return 15;
            if (r > 1.025 && r <= 1.035) return 10;
            if (r > 1.035) return 5;
            return 0;
        case kRegionMedium:
            if (ratio >= 1.0f && r <= 1.02) return 15;
            if (r > 1.02 && r <= 1.025) return 0;
            if (r > 1.025 && r <= 1.045) return 10;
            if (r > 1.045) return 5;
            return 0;
        case kRegionWide:
            if (r >= 1.01 && r <= 1.025) return 15;
            if (r > 1.025 && r <= 1.04) return 10;
            if (r > 1.04) return 5;
            return 0;
        default:
            return 0;
    }
}

LongestRegion getSlideWaysToScore(const HistoryView& history, std::string_view code,
                                  std::uint32_t kind, std::int32_t& score) {
    LongestRegion region = longestSidewaysRegion(history, code, kind);
    score += regionLengthPoints(kind, region.length);
    return region;
}

std::int32_t truncateToInt(float value) {
    if (!(value > -2147483904.0f && value < 2147483648.0f)) return INT_MIN;
    return static_cast<std::int32_t>(value);
}

namespace {

// The three regions of a score, the windows over them and the window of
// the 20 days from the newest.
struct ScoreRegions {
    LongestRegion medium, wide, narrow;
    StockBox_Info WN, WM, WW, W20;

    float highestRegionClose() const {
        float key = WN.maxPrice;
        if (WM.maxPrice > key) key = WM.maxPrice;
        if (WW.maxPrice > key) key = WW.maxPrice;
        return key;
    }
};

// The windows of a score; those from the same offset (the regions often
// start on the same day) share their closes, measured in one pass.
void measureWindows(const HistoryView& history, ScoreRegions& r) {
    struct Wanted {
        std::int32_t offset, days;
        StockBox_Info* box;
    };
    std::array<Wanted, 4> wanted{{{r.narrow.startOffset, r.narrow.length, &r.WN},
                                  {r.medium.startOffset, r.medium.length, &r.WM},
                                  {r.wide.startOffset, r.wide.length, &r.WW},
                                  {1, 20, &r.W20}}};
    std::sort(wanted.begin(), wanted.end(), [](const Wanted& a, const Wanted& b) {
        return std::tie(a.offset, a.days) < std::tie(b.offset, b.days);
    });
    for (std::size_t first = 0, end = 0; first < wanted.size(); first = end) {
        std::array<std::int32_t, 4> days{};
        std::array<StockBox_Info, 4> boxes{};
        for (end = first; end < wanted.size() && wanted[end].offset == wanted[first].offset; ++end)
            days[end - first] = wanted[end].days;
        const std::size_t n = end - first;
        windowsFromOneOffset(history, wanted[first].offset, std::span(days.data(), n),
                             std::span(boxes.data(), n));
        for (std::size_t k = 0; k < n; ++k) *wanted[first + k].box = boxes[k];
    }
}

ScoreRegions measureRegions(const HistoryView& history, std::string_view code,
                            std::int32_t& score) {
    ScoreRegions r;
    r.medium = getSlideWaysToScore(history, code, kRegionMedium, score);
    r.wide = getSlideWaysToScore(history, code, kRegionWide, score);
    r.narrow = getSlideWaysToScore(history, code, kRegionNarrow, score);
    measureWindows(history, r);
    score += fileterSlideWaysBefore(r.narrow.startOffset);
    score += fileterSlideWaysBefore(r.medium.startOffset);
    score += fileterSlideWaysBefore(r.wide.startOffset);
    return r;
}

float slope(const StockBox_Info& box, std::int32_t days) {
    return ((box.startPrice * 100.0f) / box.avgPrice) / static_cast<float>(days);
}

std::int32_t slopePoints(const ScoreRegions& r) {
    const float sN = slope(r.WN, r.narrow.length);
    const float sM = slope(r.WM, r.medium.length);
    const float sW = slope(r.WW, r.wide.length);
    std::int32_t points = 0;
    if (sN > sM && sM > sW && sN > 3.0f) {
        if (sN > 5.0f) {
            points += 5;
        } else {
            const float q = sN / ((sM + sW) * 0.5f);
            const float p = sN / sM;
            if (double{q} > 2.0 && p < 2.5f)
                points += 10;
            else if ((q > 2.5f && double{p} < 2.8) || (double{q} > 2.8 && p < 3.5f))
                points += 15;
        }
    }
    if (sN < 3.0f) points -= 10;
    return points;
}

std::int32_t supportPoints(const ScoreRegions& r, float C) {
    const StockBox_Info& W20 = r.W20;
    const double lowRatio = W20.minPrice / r.WM.minPrice;
    if (lowRatio > 0.9 && lowRatio < 0.99 && double{C / W20.minPrice} < 1.14 &&
        double{C / W20.maxPrice} > 0.99)
        return 10;
    return 0;
}

}  // namespace

float calStockScore(const HistoryView& history, const TodayTrade& today, std::int32_t& score) {
    score = 100;
    const float C = today.close;
    if (isIndexCode(today.code))
        return static_cast<float>(calStockScoreForComposite(history, today, score));

    const ScoreRegions r = measureRegions(history, today.code, score);
    score += fileterAngleModel(C / r.WN.maxPrice, kRegionMedium);
    score += fileterAngleModel(C / r.WM.maxPrice, kRegionNarrow);
    score += fileterAngleModel(C / r.WW.maxPrice, kRegionWide);
    score += slopePoints(r);
    score += supportPoints(r, C);
    return r.highestRegionClose();
}

std::int32_t calStockScoreForComposite(const HistoryView& history, const TodayTrade& today,
                                       std::int32_t& score) {
    if (!isCompositeCode(today.code)) return 0;
    score = 100;
    const float C = today.close;
    const ScoreRegions r = measureRegions(history, today.code, score);
    score += fileterAngleModelforComposite(C / r.WN.maxPrice, kRegionMedium);
    score += fileterAngleModelforComposite(C / r.WM.maxPrice, kRegionNarrow);
    score += fileterAngleModelforComposite(C / r.WW.maxPrice, kRegionWide);
    return truncateToInt(r.highestRegionClose());
}

}  // namespace orvane
