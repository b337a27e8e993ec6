#include "Median.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace orvane::backtest {

namespace {

// The middle value of v (of an even count, the mean of the middle two),
// reordering v.
double middleOf(std::vector<float>& v) {
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    const double upper = v[mid];
    if (v.size() % 2) return upper;
    const double lower = *std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2;
}

// The order of returns (never NaN nor -0) as unsigned numbers: the negative
// ones reversed below the others.
std::uint32_t orderKey(float x) {
    const auto bits = std::bit_cast<std::uint32_t>(x);
    return bits & 0x80000000U ? ~bits : bits | 0x80000000U;
}

}  // namespace

// The median of many returns: counted by the top 16 bits of their order,
// the middle one or two lie in one bucket or two neighbouring ones, whose
// returns alone are put in order.
double medianOf(std::vector<float>& v) {
    constexpr std::size_t kCounted = std::size_t{1} << 16;
    if (v.size() < kCounted) return middleOf(v);
    std::vector<std::uint32_t> count(kCounted, 0);
    for (float x : v) ++count[orderKey(x) >> 16];
    const std::size_t mid = v.size() / 2, low = v.size() % 2 ? mid : mid - 1;
    // The buckets of the values ranked `low` and `mid`, and the values below them.
    std::size_t first = 0, below = 0;
    while (below + count[first] <= low) below += count[first++];
    std::size_t last = first, upTo = below + count[first];
    while (upTo <= mid) upTo += count[++last];
    std::vector<float> near;
    near.reserve(upTo - below);
    for (float x : v) {
        const std::uint32_t bucket = orderKey(x) >> 16;
        if (bucket >= first && bucket <= last) near.push_back(x);
    }
    // In `near`, the middle values keep their ranks less those below.
    const auto upper = near.begin() + static_cast<std::ptrdiff_t>(mid - below);
    std::nth_element(near.begin(), upper, near.end());
    if (v.size() % 2) return *upper;
    const double lower = *std::max_element(near.begin(), upper);
    return (lower + *upper) / 2;
}

}  // namespace orvane::backtest
