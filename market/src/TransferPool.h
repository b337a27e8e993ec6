#pragma once
// The worker threads that run asynchronous transfers. Each worker keeps its
// own connection cache; at process exit running transfers are aborted and
// the workers joined.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane::detail {

class TransferPool {
  public:
    static TransferPool& shared();
    void submit(std::function<void()> task);
    ~TransferPool();

  private:
    TransferPool();
    void work();

    static constexpr std::size_t kMaxWorkers = 8;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    std::vector<std::thread> workers_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

}  // namespace orvane::detail
