#include "CurlTransfer.h"

#include <curl/curl.h>

#include <cmath>
#include <cstdio>
#include <mutex>
#include <optional>

#include "orvane/core/FileWrites.h"

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
    NewFile* file = nullptr;
    bool writeFailed = false;
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
    if (!sink->file) {
        sink->body->append(data, n);
        return n;
    }
    if (!sink->file->write(std::string_view(data, n))) {
        sink->writeFailed = true;
        return 0;  // makes libcurl stop with a write error
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
    // A file lands in a temporary file beside its destination, renamed over
    // it once whole.
    std::optional<NewFile> download;
    if (!destination.empty()) {
        forgetWriteFailure();
        download.emplace(NewFile::temporaryBeside(destination));
        if (!download->isOpen()) {
            out.error =
                "Failed to create the download file: " + lastWriteFailureText(destination.string());
            out.localWriteFailed = true;
            return out;
        }
        sink.file = &*download;
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
    if (sink.writeFailed) {
        out.error =
            "Failed to write the download file: " + lastWriteFailureText(destination.string());
        out.localWriteFailed = true;
    }
    if (sink.tooLarge || code == CURLE_FILESIZE_EXCEEDED) out.error = kTooLargeDescription;

    if (download && !out.error) {
        // An empty body is a file written too.
        if (!(download->write({}) && download->flush() && download->renameTo(destination))) {
            blameWriteFailureOn(destination);
            out.error =
                "Failed to write the download file: " + lastWriteFailureText(destination.string());
            out.localWriteFailed = true;
        }
    }
    if (download) download->discard();  // a temporary file not renamed
    if (out.error) out.body.clear();
    return out;
}

}  // namespace orvane::detail
