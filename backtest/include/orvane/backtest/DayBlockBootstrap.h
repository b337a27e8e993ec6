#pragma once
// Whether a group's mean excess return is more than chance: a circular block
// bootstrap over the group's signal days.
//
// The signals of one day share that day's market, and a signal's horizon
// overlaps the horizons of the signals of the days after it, so the signals
// are far from independent: resampling them one by one would claim far too
// much certainty. The bootstrap resamples whole market days instead, in
// blocks of consecutive days long enough to keep the overlap inside a block,
// and recomputes the group's mean (the sum of its excess returns over the
// count of its signals, the days weighted by their signals as in the figure
// itself) on each resample.

#include <cstdint>
#include <span>
#include <string_view>

namespace orvane::backtest {

/// A group's signals of one market day at one horizon: how many had the
/// horizon complete, and the sum of their excess returns.
struct DayTotal {
    double sum = 0;
    std::uint32_t count = 0;
};

/// A two-sided 95% interval of the mean and the two-sided p-value of "the
/// mean is 0"; NaN (and blocks 0) when the days are too few for blocks.
struct MeanInterval {
    double low, high, pValue;
    std::size_t blockDays = 0;
};

/// How many resamples a bootstrap draws unless told otherwise.
inline constexpr std::size_t kDefaultResamples = 2000;
/// The fewest blocks a group's days must hold for an interval: with fewer,
/// the resamples barely differ and the interval would be a false comfort.
inline constexpr std::size_t kMinBlocks = 4;

/// The block length for a horizon of `horizon` trading days: twice the
/// horizon. The excess returns of signals fewer than `horizon` days apart
/// share days of their holding; a block of twice that length keeps most of
/// that shared part together (about five sixths of the covariance when each
/// day's signals overlap the next days' evenly), where a block of the
/// horizon alone keeps two thirds and would understate the spread.
std::size_t blockDaysFor(int horizon);

/// The interval and p-value of the mean of `days` (consecutive market days,
/// days without signals included as zero totals), from `resamples` circular
/// block resamples drawn from `seed`. The same days, block length and seed
/// always give the same figures. The p-value is twice the smaller share of
/// resampled means on either side of 0 (with the usual +1 so it is never
/// exactly 0), so it lies under 0.05 when the interval excludes 0.
MeanInterval bootstrapMean(std::span<const DayTotal> days, std::size_t blockDays,
                           std::size_t resamples, std::uint64_t seed);

/// A seed of its own for each group and horizon, from the run's seed and the
/// group's name, so a group's figures do not depend on the other groups.
std::uint64_t groupSeed(std::uint64_t runSeed, std::string_view group, int horizon);

}  // namespace orvane::backtest
