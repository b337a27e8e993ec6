#include "orvane/backtest/DayBlockBootstrap.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace orvane::backtest {

namespace {

// Running totals of the days, so that any run of consecutive days sums in
// constant time.
struct RunningTotals {
    std::vector<double> sum{0};
    std::vector<std::uint64_t> count{0};

    explicit RunningTotals(std::span<const DayTotal> days) {
        sum.reserve(days.size() + 1);
        count.reserve(days.size() + 1);
        for (const DayTotal& d : days) {
            sum.push_back(sum.back() + d.sum);
            count.push_back(count.back() + d.count);
        }
    }
    std::size_t days() const { return sum.size() - 1; }

    // The `length` days from `start` on, wrapping past the last day to the first.
    void addBlock(std::size_t start, std::size_t length, double& s, std::uint64_t& c) const {
        const std::size_t end = start + length;
        if (end <= days()) {
            s += sum[end] - sum[start];
            c += count[end] - count[start];
            return;
        }
        s += sum[days()] - sum[start] + sum[end - days()];
        c += count[days()] - count[start] + count[end - days()];
    }
};

// The q-quantile of sorted values, between the two nearest.
double quantile(const std::vector<double>& sorted, double q) {
    const double at = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (at - static_cast<double>(below));
}

std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

}  // namespace

std::size_t blockDaysFor(int horizon) {
    return static_cast<std::size_t>(std::max(1, 2 * horizon));
}

MeanInterval bootstrapMean(std::span<const DayTotal> days, std::size_t blockDays,
                           std::size_t resamples, std::uint64_t seed) {
    MeanInterval none{NAN, NAN, NAN, 0};
    const RunningTotals totals(days);
    const std::size_t n = totals.days();
    blockDays = std::max<std::size_t>(blockDays, 1);
    if (n < kMinBlocks * blockDays || totals.count.back() == 0 || resamples == 0) return none;

    // Each resample lays blocks from random starts end to end until it is as
    // long as the days; the last block is cut to fit.
    const std::size_t blocks = (n + blockDays - 1) / blockDays;
    const std::size_t lastBlock = n - (blocks - 1) * blockDays;
    std::mt19937_64 random(seed);
    std::vector<double> means;
    means.reserve(resamples);
    for (std::size_t r = 0; r < resamples; ++r) {
        double sum = 0;
        std::uint64_t count = 0;
        for (std::size_t b = 0; b < blocks; ++b)
            totals.addBlock(static_cast<std::size_t>(random() % n),
                            b + 1 < blocks ? blockDays : lastBlock, sum, count);
        if (count > 0) means.push_back(sum / static_cast<double>(count));
    }
    if (means.empty()) return none;
    std::sort(means.begin(), means.end());
    const auto atOrBelowZero =
        static_cast<std::size_t>(std::upper_bound(means.begin(), means.end(), 0.0) - means.begin());
    const auto atOrAboveZero =
        static_cast<std::size_t>(means.end() - std::lower_bound(means.begin(), means.end(), 0.0));
    const double tail = static_cast<double>(std::min(atOrBelowZero, atOrAboveZero) + 1) /
                        static_cast<double>(means.size() + 1);
    return {quantile(means, 0.025), quantile(means, 0.975), std::min(1.0, 2 * tail), blockDays};
}

std::uint64_t groupSeed(std::uint64_t runSeed, std::string_view group, int horizon) {
    std::uint64_t h = mix(runSeed);
    for (unsigned char c : group) h = mix(h ^ c);
    return mix(h ^ static_cast<std::uint64_t>(horizon));
}

}  // namespace orvane::backtest
