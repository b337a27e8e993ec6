#include "orvane/publisher/PricePatterns.h"

#include <cmath>

namespace orvane::server {

namespace {

constexpr double kBigRise = 0.05;
constexpr double kCannonShot = 0.07;
constexpr double kQuietMove = 0.03;

// Day i's move against the day before, as a fraction; prices have two
// decimals, so a move of exactly 7% must not fall short by a rounding error.
constexpr double kRounding = 1e-9;
double moveOf(const std::vector<DailyBar>& bars, std::size_t i) {
    const double before = bars[i - 1].close;
    return before > 0 ? bars[i].close / before - 1.0 + kRounding : 0.0;
}

}  // namespace

bool isDoubleCannon(const std::vector<DailyBar>& bars) {
    const std::size_t n = bars.size();
    for (std::size_t second = n >= 5 ? n - 5 : 1; second < n; ++second) {
        if (second < 2 || moveOf(bars, second) < kBigRise) continue;
        for (std::size_t gap = 2; gap <= 4 && gap <= second - 1; ++gap) {
            const std::size_t first = second - gap;
            if (moveOf(bars, first) < kBigRise || bars[second].close <= bars[first].close) continue;
            bool paused = true;
            for (std::size_t k = first + 1; k < second; ++k)
                paused &= bars[k].close < bars[first].close;
            if (paused) return true;
        }
    }
    return false;
}

bool isSingleCannon(const std::vector<DailyBar>& bars) {
    const std::size_t n = bars.size();
    if (n < 12 || moveOf(bars, n - 1) < kCannonShot) return false;
    for (std::size_t i = n - 11; i < n - 1; ++i)
        if (std::abs(moveOf(bars, i) - kRounding) >= kQuietMove) return false;
    return true;
}

PatternType patternType(const std::vector<DailyBar>& bars) {
    if (isDoubleCannon(bars)) return kPatternDoubleCannon;
    if (isSingleCannon(bars)) return kPatternSingleCannon;
    return kPatternNone;
}

}  // namespace orvane::server
