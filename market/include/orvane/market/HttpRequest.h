#pragma once
// One HTTP GET of the program: synchronous or asynchronous, into memory or
// into a file. Only transport failures (no connection, time-out,
// cancellation, a truncated body) count as errors; an HTTP error status is a
// successful transfer whose body (the error page) is the response.
//
// Asynchronous requests call their handlers on the main thread (through the
// main-thread dispatcher): on success the finish handler, then the
// completion handler; on failure the failure handler. A synchronous start
// calls the same handlers on the calling thread before it returns.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orvane {

class RequestQueue;

class HttpRequest : public std::enable_shared_from_this<HttpRequest> {
  public:
    using Handler = std::function<void(HttpRequest&)>;
    static constexpr double kDefaultTimeOutSeconds = 10.0;
    /// Response texts are small; a hostile server must not fill the memory.
    static constexpr std::uint64_t kDefaultMaxTextBytes = 64ull << 20;
    static constexpr std::uint64_t kDefaultMaxDownloadBytes = 2ull << 30;

    static std::shared_ptr<HttpRequest> requestWithURL(std::string url);
    explicit HttpRequest(std::string url);

    const std::string& url() const { return url_; }
    /// Limits connection set-up and every silence during the transfer; a
    /// text must arrive within three times as long, a file at a minimum rate.
    void setTimeOutSeconds(double seconds) { timeOutSeconds_ = seconds; }
    double timeOutSeconds() const { return timeOutSeconds_; }
    /// The body goes to this file, replacing the old one only when the whole
    /// body arrived; the response text then stays empty.
    void setDownloadDestinationPath(std::filesystem::path path) { destination_ = std::move(path); }
    const std::filesystem::path& downloadDestinationPath() const { return destination_; }
    /// A longer body fails the request ("The response is too large"); the
    /// default depends on whether the body goes to memory or to a file.
    void setMaxBodyBytes(std::uint64_t bytes) { maxBodyBytes_ = bytes; }

    /// Called now and then on the transfer's thread with the bytes received
    /// and the whole size (0 while unknown), for progress on long downloads.
    using ProgressHandler = std::function<void(std::uint64_t received, std::uint64_t total)>;
    void setProgressHandler(ProgressHandler h) { progress_ = std::move(h); }
    /// The delegate's finish handler (runs before the completion handler).
    void setDidFinishHandler(Handler h) { didFinish_ = std::move(h); }
    void setCompletionBlock(Handler h) { completion_ = std::move(h); }
    void setFailedBlock(Handler h) { failed_ = std::move(h); }

    void startSynchronous();
    void startAsynchronous();
    /// The transfer ends with the error "The request was cancelled".
    void cancel() { cancelled_ = true; }

    /// True once the handlers have run.
    bool isFinished() const { return finished_.load(); }
    /// For a handler that finds the answer unusable (an error page, a text
    /// that is not what was asked for): the request counts as failed with
    /// this description. The handlers of this delivery still run.
    void rejectResponse(std::string why);
    /// For a handler that cannot keep a usable answer (a file it writes
    /// fails): the request fails with `why`, as this side's failure.
    void failHere(std::string why);
    /// The error's description; nothing after a successful transfer.
    const std::optional<std::string>& error() const { return error_; }
    /// The error is this computer's: the download file could not be written
    /// (the disk is full or failing), whatever the server sent.
    bool localWriteFailed() const { return localWriteFailed_; }
    /// The body decoded as GB 18030 (whatever the server declared), as UTF-8;
    /// nothing when there is no body or it does not decode.
    std::optional<std::string> responseString() const;
    const std::string& responseData() const { return body_; }
    long responseStatusCode() const { return statusCode_; }
    static constexpr const char* responseEncoding() { return "GB18030"; }

  private:
    friend class RequestQueue;
    void runTransfer();
    void callHandlers();
    /// Fails the request without a transfer and delivers on the main thread.
    void failUnstarted(std::string description);
    void deliverOnMainThread();

    std::string url_;
    double timeOutSeconds_ = kDefaultTimeOutSeconds;
    std::filesystem::path destination_;
    std::optional<std::uint64_t> maxBodyBytes_;
    Handler didFinish_, completion_, failed_;
    ProgressHandler progress_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> started_{false};
    std::atomic<bool> finished_{false};
    std::optional<std::string> error_;
    std::string body_;
    long statusCode_ = 0;
    bool localWriteFailed_ = false;
    std::shared_ptr<RequestQueue> queue_;  // the owning queue until delivered
};

}  // namespace orvane
