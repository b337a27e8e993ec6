#pragma once
// One HTTP GET on libcurl, on the calling thread. Each thread keeps its own
// easy handle between transfers, so repeated requests to one server reuse
// the open connection.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace orvane::detail {

struct TransferOutcome {
    long statusCode = 0;
    std::string body;                  // empty when the body went to a file
    std::optional<std::string> error;  // transport failures only
};

struct TransferOptions {
    std::string url;
    /// Bounds the connection set-up and every silence during the transfer;
    /// the whole transfer may take at most kWholeTransferFactor times as long.
    double timeoutSeconds = 10;
    /// With a destination the body is written to a temporary file beside it
    /// that replaces the destination only when the whole body arrived.
    std::filesystem::path destination;
    /// A longer body fails the transfer.
    std::uint64_t maxBodyBytes = 0;
};

inline constexpr double kWholeTransferFactor = 60;
extern const char* const kTooLargeDescription;

/// GETs the URL. Raising `cancelled` aborts the transfer.
TransferOutcome performTransfer(const TransferOptions& options, const std::atomic<bool>& cancelled);

/// Set at process exit: running transfers abort.
std::atomic<bool>& transfersShuttingDown();

extern const char* const kCancelledDescription;

}  // namespace orvane::detail
