#pragma once
// Work spread over threads: each thread takes the next index as it finishes
// the last, so long and short items even out.

#include <cstddef>
#include <functional>
#include <stop_token>

namespace orvane {

/// Threads for `jobs` (0: one per processor), never more than `count` nor
/// below 1.
int workerCount(int jobs, std::size_t count);

/// Calls work(i) for every i in [0, count) on workerCount(jobs, count)
/// threads (the calling one among them). After each item, done(finished,
/// count) is called, one call at a time. Once `stop` is requested no item
/// starts; the call returns when the started ones have ended.
void parallelFor(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                 const std::function<void(std::size_t, std::size_t)>& done = {},
                 std::stop_token stop = {});

}  // namespace orvane
