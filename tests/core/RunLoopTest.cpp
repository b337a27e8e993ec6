#include "orvane/core/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace orvane;
using namespace std::chrono_literals;

TEST(RunLoop, WorkersTasksRunOnTheMainThreadInOrderWhenTheLoopRuns) {
    ScopedRunLoop scoped;
    std::vector<int> order;
    std::atomic<bool> allOnMain{true}, workerDone{false};
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i)
            postToMainThread([&, i] {
                allOnMain = allOnMain && MainThreadDispatcher::shared()->isMainThread();
                order.push_back(i);
            });
        // Blocks until the loop ran it.
        MainThreadDispatcher::shared()->invokeAndWait([&] { order.push_back(3); });
        workerDone = true;
    });
    std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(order.empty());  // nothing runs until the loop runs
    EXPECT_TRUE(scoped.loop().runUntil([&] { return workerDone.load(); }, 2s));
    worker.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(allOnMain);
    // On the main thread itself it runs at once instead of deadlocking.
    MainThreadDispatcher::shared()->invokeAndWait([&] { order.clear(); });
    EXPECT_TRUE(order.empty());
}

TEST(RunLoop, RunUntilGivesUpAtTheLimit) {
    ScopedRunLoop scoped;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(scoped.loop().runUntil([] { return false; }, 50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}
