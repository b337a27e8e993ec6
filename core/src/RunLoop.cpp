#include "orvane/core/RunLoop.h"

#include <future>

namespace orvane {

RunLoop::RunLoop() : owner_(std::this_thread::get_id()) {}

void RunLoop::post(Task task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_all();
}

void RunLoop::invokeAndWait(Task task) {
    if (isMainThread()) {
        task();
        return;
    }
    std::promise<void> done;
    auto finished = done.get_future();
    post([&] {
        task();
        done.set_value();
    });
    finished.wait();
}

bool RunLoop::isMainThread() const {
    return std::this_thread::get_id() == owner_;
}

std::size_t RunLoop::runOnce(std::chrono::milliseconds timeout) {
    std::deque<Task> batch;
    {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, timeout, [&] { return !tasks_.empty(); });
        batch.swap(tasks_);
    }
    for (Task& t : batch) t();
    return batch.size();
}

bool RunLoop::runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        Task task;
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait_until(lock, deadline, [&] { return !tasks_.empty(); })) continue;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
    return true;
}

void RunLoop::runFor(std::chrono::milliseconds duration) {
    runUntil([] { return false; }, duration);
}

ScopedRunLoop::ScopedRunLoop() : loop_(std::make_shared<RunLoop>()) {
    MainThreadDispatcher::install(loop_);
}

ScopedRunLoop::~ScopedRunLoop() {
    MainThreadDispatcher::install(nullptr);
    // Tasks still queued for this loop are dropped with it.
}

}  // namespace orvane
