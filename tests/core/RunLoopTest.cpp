#include "orvane/core/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace orvane;
using namespace std::chrono_literals;

TEST(RunLoop, PostedTasksRunOnTheMainThreadInOrder) {
    ScopedRunLoop scoped;
    std::vector<int> order;
    std::atomic<bool> allOnMain{true};
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i)
            postToMainThread([&, i] {
                allOnMain = allOnMain && mainThreadDispatcher()->isMainThread();
                order.push_back(i);
            });
    });
    worker.join();
    EXPECT_TRUE(order.empty());  // nothing runs until the loop runs
    EXPECT_TRUE(scoped.loop().runUntil([&] { return order.size() == 3; }, 2s));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(allOnMain);
}

TEST(RunLoop, InvokeAndWaitBlocksTheWorkerUntilTheTaskRan) {
    ScopedRunLoop scoped;
    int value = 0;
    std::atomic<bool> workerDone{false};
    std::thread worker([&] {
        mainThreadDispatcher()->invokeAndWait([&] { value = 42; });
        EXPECT_EQ(value, 42);
        workerDone = true;
    });
    EXPECT_TRUE(scoped.loop().runUntil([&] { return workerDone.load(); }, 2s));
    worker.join();
    // On the main thread itself it runs at once instead of deadlocking.
    mainThreadDispatcher()->invokeAndWait([&] { value = 7; });
    EXPECT_EQ(value, 7);
}

TEST(RunLoop, RunUntilGivesUpAtTheLimit) {
    ScopedRunLoop scoped;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(scoped.loop().runUntil([] { return false; }, 50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}
