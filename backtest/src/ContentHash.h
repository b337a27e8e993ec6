#pragma once
// A fast 64-bit hash of bytes, to tell whether data changed (not for
// security): eight bytes a step, each step mixed in by a multiplication.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace orvane::backtest {

inline std::uint64_t mixBits(std::uint64_t x) {
    x ^= x >> 32;
    x *= 0xd6e8feb86659fd93ull;
    x ^= x >> 32;
    x *= 0xd6e8feb86659fd93ull;
    return x ^ (x >> 32);
}

inline std::uint64_t hashBytes(std::string_view bytes, std::uint64_t seed = 0) {
    constexpr std::uint64_t kOdd = 0x9e3779b97f4a7c15ull;
    std::uint64_t h = seed ^ (bytes.size() * kOdd);
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = (h ^ word) * kOdd;
        h ^= h >> 29;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    return mixBits(h ^ tail);
}

}  // namespace orvane::backtest
