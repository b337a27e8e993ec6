#pragma once
// A queue of asynchronous requests. It is created suspended and starts on
// go(); at most four requests (by default) run at once; the first failed
// request cancels every request not yet finished; each request lowers the
// outstanding count after its handlers ran, and when the count reaches zero
// the finish handler runs once, on the main thread. The queue stays alive
// while it has outstanding requests.

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "orvane/market/HttpRequest.h"

namespace orvane {

class RequestQueue : public std::enable_shared_from_this<RequestQueue> {
  public:
    using FinishHandler = std::function<void(RequestQueue&)>;

    static std::shared_ptr<RequestQueue> queue();

    /// Cancels what is outstanding, clears the finish handler and suspends.
    void reset();
    void setQueueDidFinish(FinishHandler handler);
    void setMaxConcurrentOperationCount(int count);
    void addOperation(std::shared_ptr<HttpRequest> request);
    void go();
    void cancelAllOperations();
    /// Requests added and not yet finished (handlers not yet run).
    int requestsCount() const;

  private:
    friend class HttpRequest;
    void pump();
    void transferEnded(HttpRequest& request);  // transfer thread
    void requestDelivered();                   // main thread

    mutable std::mutex mutex_;
    bool suspended_ = true;
    bool cancelling_ = false;
    int maxConcurrent_ = 4;
    int outstanding_ = 0;
    std::deque<std::shared_ptr<HttpRequest>> pending_;
    std::vector<std::shared_ptr<HttpRequest>> running_;
    FinishHandler finish_;
};

}  // namespace orvane
