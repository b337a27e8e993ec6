#include "orvane/market/HttpRequest.h"

#include "CurlTransfer.h"
#include "TransferPool.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/RequestQueue.h"

namespace orvane {

std::shared_ptr<HttpRequest> HttpRequest::requestWithURL(std::string url) {
    return std::make_shared<HttpRequest>(std::move(url));
}

HttpRequest::HttpRequest(std::string url) : url_(std::move(url)) {}

std::optional<std::string> HttpRequest::responseString() const {
    if (body_.empty()) return std::nullopt;
    return gb18030ToUtf8(body_);
}

void HttpRequest::runTransfer() {
    detail::TransferOptions options;
    options.url = url_;
    options.timeoutSeconds = timeOutSeconds_;
    options.destination = destination_;
    options.progress = progress_;
    options.maxBodyBytes = maxBodyBytes_.value_or(destination_.empty() ? kDefaultMaxTextBytes
                                                                       : kDefaultMaxDownloadBytes);
    detail::TransferOutcome out = detail::performTransfer(options, cancelled_);
    statusCode_ = out.statusCode;
    body_ = std::move(out.body);
    error_ = std::move(out.error);
    localWriteFailed_ = out.localWriteFailed;
}

void HttpRequest::callHandlers() {
    // Handlers are released once called, so captures of the request itself
    // never keep it alive.
    Handler didFinish = std::move(didFinish_), completion = std::move(completion_),
            failed = std::move(failed_);
    didFinish_ = completion_ = failed_ = nullptr;
    if (error_) {
        if (failed) failed(*this);
    } else {
        if (didFinish) didFinish(*this);
        if (completion) completion(*this);
    }
    // Set last: whoever waits for the request sees what its handlers did.
    finished_ = true;
}

void HttpRequest::rejectResponse(std::string why) {
    error_ = std::move(why);
}

void HttpRequest::failHere(std::string why) {
    error_ = std::move(why);
    localWriteFailed_ = true;
}

void HttpRequest::startSynchronous() {
    if (started_.exchange(true)) return;
    runTransfer();
    callHandlers();
}

void HttpRequest::deliverOnMainThread() {
    postToMainThread([self = shared_from_this()] {
        self->callHandlers();
        if (auto queue = std::move(self->queue_)) queue->requestDelivered();
    });
}

void HttpRequest::startAsynchronous() {
    if (started_.exchange(true)) return;
    detail::TransferPool::shared().submit([self = shared_from_this()] {
        self->runTransfer();
        if (self->queue_) self->queue_->transferEnded(*self);
        self->deliverOnMainThread();
    });
}

void HttpRequest::failUnstarted(std::string description) {
    if (started_.exchange(true)) return;
    error_ = std::move(description);
    deliverOnMainThread();
}

}  // namespace orvane
