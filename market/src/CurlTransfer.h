#pragma once
// One HTTP GET on libcurl, on the calling thread. Each thread keeps its own
// easy handle between transfers, so repeated requests to one server reuse
// the open connection.

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>

namespace orvane::detail {

struct TransferOutcome {
    long statusCode = 0;
    std::string body;                  // empty when the body went to a file
    std::optional<std::string> error;  // transport failures only
};

/// GETs `url`. With a destination the body is written to a temporary file
/// beside it that replaces the destination only when the whole body arrived.
/// `timeoutSeconds` bounds the connection set-up and every silence during
/// the transfer. Raising `cancelled` aborts the transfer.
TransferOutcome performTransfer(const std::string& url, double timeoutSeconds,
                                const std::filesystem::path& destination,
                                const std::atomic<bool>& cancelled);

/// Set at process exit: running transfers abort.
std::atomic<bool>& transfersShuttingDown();

extern const char* const kCancelledDescription;

}  // namespace orvane::detail
