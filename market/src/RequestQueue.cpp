#include "orvane/market/RequestQueue.h"

#include <algorithm>

#include "CurlTransfer.h"

namespace orvane {

std::shared_ptr<RequestQueue> RequestQueue::queue() {
    return std::make_shared<RequestQueue>();
}

void RequestQueue::reset() {
    cancelAllOperations();
    std::lock_guard lock(mutex_);
    finish_ = nullptr;
    suspended_ = true;
    cancelling_ = false;  // requests added from now on run normally
}

void RequestQueue::setQueueDidFinish(FinishHandler handler) {
    std::lock_guard lock(mutex_);
    finish_ = std::move(handler);
}

void RequestQueue::setMaxConcurrentOperationCount(int count) {
    {
        std::lock_guard lock(mutex_);
        maxConcurrent_ = std::max(1, count);
    }
    pump();
}

void RequestQueue::addOperation(std::shared_ptr<HttpRequest> request) {
    if (!request) return;
    request->queue_ = shared_from_this();
    {
        std::lock_guard lock(mutex_);
        ++outstanding_;
        pending_.push_back(std::move(request));
    }
    pump();
}

void RequestQueue::go() {
    {
        std::lock_guard lock(mutex_);
        suspended_ = false;
    }
    pump();
}

int RequestQueue::requestsCount() const {
    std::lock_guard lock(mutex_);
    return outstanding_;
}

void RequestQueue::pump() {
    std::vector<std::shared_ptr<HttpRequest>> toStart;
    {
        std::lock_guard lock(mutex_);
        if (suspended_ || cancelling_) return;
        while (!pending_.empty() && static_cast<int>(running_.size()) < maxConcurrent_) {
            running_.push_back(pending_.front());
            toStart.push_back(std::move(pending_.front()));
            pending_.pop_front();
        }
    }
    for (auto& r : toStart) r->startAsynchronous();
}

void RequestQueue::cancelAllOperations() {
    std::deque<std::shared_ptr<HttpRequest>> unstarted;
    std::vector<std::shared_ptr<HttpRequest>> running;
    {
        std::lock_guard lock(mutex_);
        cancelling_ = true;
        unstarted.swap(pending_);
        running = running_;
    }
    for (auto& r : running) r->cancel();
    for (auto& r : unstarted) {
        r->cancel();
        r->failUnstarted(detail::kCancelledDescription);
    }
}

void RequestQueue::transferEnded(HttpRequest& request) {
    bool cancelRest = false;
    {
        std::lock_guard lock(mutex_);
        std::erase_if(running_, [&](const auto& r) { return r.get() == &request; });
        cancelRest = request.error() && !cancelling_;
    }
    if (cancelRest)
        cancelAllOperations();
    else
        pump();
}

void RequestQueue::requestDelivered() {
    FinishHandler handler;
    {
        std::lock_guard lock(mutex_);
        if (--outstanding_ > 0) return;
        cancelling_ = false;  // an emptied queue may be used again
        handler = finish_;
    }
    if (handler) handler(*this);
}

}  // namespace orvane
