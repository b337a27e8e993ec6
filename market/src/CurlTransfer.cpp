#include "CurlTransfer.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <mutex>

#include "orvane/core/AtomicFile.h"

namespace orvane::detail {

const char* const kCancelledDescription = "The request was cancelled";
const char* const kTooLargeDescription = "The response is too large";

std::atomic<bool>& transfersShuttingDown() {
    static std::atomic<bool> flag{false};
    return flag;
}

namespace {

struct EasyHandle {
    CURL* handle = nullptr;
    ~EasyHandle() {
        if (handle) curl_easy_cleanup(handle);
    }
};

/// The calling thread's easy handle, reset to defaults but keeping its
/// connection cache.
CURL* threadHandle() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    thread_local EasyHandle easy;
    if (!easy.handle)
        easy.handle = curl_easy_init();
    else
        curl_easy_reset(easy.handle);
    return easy.handle;
}

struct Sink {
    std::string* body = nullptr;
    int fd = -1;
    int writeError = 0;      // errno of the failed write, when one failed
    std::uint64_t left = 0;  // bytes the body may still take
    bool tooLarge = false;
};

std::size_t onData(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const std::size_t n = size * count;
    if (n > sink->left) {
        sink->tooLarge = true;
        return 0;  // makes libcurl stop with a write error
    }
    sink->left -= n;
    if (sink->fd < 0) {
        sink->body->append(data, n);
        return n;
    }
    std::size_t done = 0;
    while (done < n) {
        ssize_t w = ::write(sink->fd, data + done, n - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            sink->writeError = w < 0 ? errno : ENOSPC;
            return 0;  // makes libcurl stop with a write error
        }
        done += static_cast<std::size_t>(w);
    }
    return n;
}

struct ProgressWatch {
    const std::atomic<bool>* cancelled;
    const TransferProgress* report;
    curl_off_t lastReceived = -1;
};

int onProgress(void* user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
    auto* watch = static_cast<ProgressWatch*>(user);
    if (*watch->report && received != watch->lastReceived) {
        watch->lastReceived = received;
        (*watch->report)(static_cast<std::uint64_t>(received), static_cast<std::uint64_t>(total));
    }
    return (watch->cancelled->load() || transfersShuttingDown().load()) ? 1 : 0;
}

std::string describe(CURLcode code, const char* detail) {
    const char* what = "A connection failure occurred";
    if (code == CURLE_OPERATION_TIMEDOUT) what = "The request timed out";
    if (code == CURLE_ABORTED_BY_CALLBACK) return kCancelledDescription;
    std::string out = what;
    out += " (";
    out += (detail && *detail) ? detail : curl_easy_strerror(code);
    out += ")";
    return out;
}

/// A temporary file beside the destination; -1 when it cannot be created.
int openTemporaryBeside(const std::filesystem::path& destination, std::string& tmpPath) {
    tmpPath =
        (destination.parent_path() / ("." + destination.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(tmpPath.data());
    if (fd >= 0) ::fchmod(fd, 0644);
    return fd;
}

}  // namespace

TransferOutcome performTransfer(const TransferOptions& options,
                                const std::atomic<bool>& cancelled) {
    const std::string& url = options.url;
    const std::filesystem::path& destination = options.destination;
    TransferOutcome out;
    if (cancelled.load()) {
        out.error = kCancelledDescription;
        return out;
    }
    CURL* h = threadHandle();
    if (!h) {
        out.error = "A connection failure occurred (no transfer handle)";
        return out;
    }

    Sink sink;
    sink.body = &out.body;
    sink.left = options.maxBodyBytes;
    std::string tmpPath;
    if (!destination.empty()) {
        sink.fd = openTemporaryBeside(destination, tmpPath);
        if (sink.fd < 0) {
            out.error = writeFailureText(destination, errno);
            out.failedHere = true;
            return out;
        }
    }

    char detail[CURL_ERROR_SIZE] = {0};
    const long timeoutMs = std::lround(std::max(options.timeoutSeconds, 0.001) * 1000.0);
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Orvane/0.1");
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    curl_easy_setopt(
        h, CURLOPT_MAXFILESIZE_LARGE,
        static_cast<curl_off_t>(std::min<std::uint64_t>(options.maxBodyBytes, INT64_MAX)));
    // A server trickling bytes never falls silent: a text has a deadline of
    // a few time-outs; a file, which may be large, must keep a minimum rate
    // over every time-out span. Silence alone fails either after one span.
    const bool file = !destination.empty();
    const double deadlineFactor = file ? kFileDeadlineFactor : kTextDeadlineFactor;
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS,
                     static_cast<long>(static_cast<double>(timeoutMs) * deadlineFactor));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, file ? kMinimumFileRate : 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, std::max(1L, (timeoutMs + 999) / 1000));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
    ProgressWatch watch{&cancelled, &options.progress};
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &watch);

    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &out.statusCode);
    if (code != CURLE_OK) out.error = describe(code, detail);
    if (sink.writeError) {
        out.error = writeFailureText(destination, sink.writeError);
        out.failedHere = true;
    }
    if (sink.tooLarge || code == CURLE_FILESIZE_EXCEEDED) out.error = kTooLargeDescription;

    if (sink.fd >= 0) {
        // A body that arrived whole but cannot be kept is this side's failure.
        int error = 0;
        if (!out.error && ::fsync(sink.fd) != 0) error = errno;
        if (::close(sink.fd) != 0 && !out.error && error == 0) error = errno;
        if (!out.error && error == 0 && std::rename(tmpPath.c_str(), destination.c_str()) != 0)
            error = errno;
        if (error != 0) {
            out.error = writeFailureText(destination, error);
            out.failedHere = true;
        }
        if (out.error) ::unlink(tmpPath.c_str());
    }
    if (out.error) out.body.clear();
    return out;
}

}  // namespace orvane::detail
