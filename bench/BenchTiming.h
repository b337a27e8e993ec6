#pragma once
// Timing helpers of the application's benchmarks: milliseconds since a
// moment, the median and maximum of a series, and waiting for a condition
// while the window thread serves its events.

#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace orvane::bench {

using Steady = std::chrono::steady_clock;

inline double msSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

struct Spread {
    double median, max;
};
inline Spread spreadOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

inline bool waitUntil(const std::function<bool()>& done, int ms = 30000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QTest::qWait(1);
    return done();
}

}  // namespace orvane::bench
