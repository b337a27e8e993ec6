#include "orvane/core/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane {

int workerCount(int jobs, std::size_t count) {
    const int wanted =
        jobs > 0 ? jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return static_cast<int>(std::clamp<std::size_t>(static_cast<std::size_t>(wanted), 1,
                                                    std::max<std::size_t>(count, 1)));
}

void parallelFor(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                 const std::function<void(std::size_t, std::size_t)>& done, std::stop_token stop) {
    std::atomic<std::size_t> next{0}, finished{0};
    std::mutex doneMutex;
    auto worker = [&] {
        for (std::size_t i; !stop.stop_requested() && (i = next++) < count;) {
            work(i);
            const std::size_t n = ++finished;
            if (done) {
                std::lock_guard lock(doneMutex);
                done(n, count);
            }
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (int j = 1; j < workerCount(jobs, count); ++j) helpers.emplace_back(worker);
        worker();
    }
}

}  // namespace orvane
