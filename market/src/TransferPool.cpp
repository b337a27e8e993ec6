#include "TransferPool.h"

#include "CurlTransfer.h"
#include "orvane/core/MainThreadDispatcher.h"

namespace orvane::detail {

TransferPool& TransferPool::shared() {
    static TransferPool pool;
    return pool;
}

TransferPool::TransferPool() {
    // The dispatcher's storage must outlive the pool: touch it first so it is
    // destroyed after the pool at exit.
    (void)MainThreadDispatcher::shared();
}

TransferPool::~TransferPool() {
    transfersShuttingDown() = true;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        tasks_.clear();
    }
    wake_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void TransferPool::submit(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        tasks_.push_back(std::move(task));
        // Workers are started on demand, up to the limit.
        if (idle_ < tasks_.size() && workers_.size() < kMaxWorkers)
            workers_.emplace_back([this] { work(); });
    }
    wake_.notify_one();
}

void TransferPool::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        ++idle_;
        wake_.wait(lock, [&] { return stopping_ || !tasks_.empty(); });
        --idle_;
        if (stopping_) return;
        auto task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
}

}  // namespace orvane::detail
