#pragma once
// One HTTP GET on libcurl, on the calling thread. Each thread keeps its own
// easy handle between transfers, so repeated requests to one server reuse
// the open connection.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace orvane::detail {

struct TransferOutcome {
    long statusCode = 0;
    std::string body;                  // empty when the body went to a file
    std::optional<std::string> error;  // transport failures only
    bool localWriteFailed = false;     // the download file could not be written here
};

/// Bytes received so far and the whole body's size (0 while unknown).
using TransferProgress = std::function<void(std::uint64_t received, std::uint64_t total)>;

struct TransferOptions {
    std::string url;
    /// Bounds the connection set-up and every silence during the transfer.
    /// A text must arrive whole within kTextDeadlineFactor times as long; a
    /// file must keep kMinimumFileRate over every such span (and end within
    /// kFileDeadlineFactor times as long), so a server trickling bytes is
    /// given up on soon either way.
    double timeoutSeconds = 10;
    /// With a destination the body is written to a temporary file beside it
    /// that replaces the destination only when the whole body arrived.
    std::filesystem::path destination;
    /// A longer body fails the transfer.
    std::uint64_t maxBodyBytes = 0;
    /// Called on the transfer's thread as the body arrives.
    TransferProgress progress;
};

inline constexpr double kTextDeadlineFactor = 3;
inline constexpr double kFileDeadlineFactor = 60;
inline constexpr long kMinimumFileRate = 4096;  // bytes a second
extern const char* const kTooLargeDescription;

/// GETs the URL. Raising `cancelled` aborts the transfer.
TransferOutcome performTransfer(const TransferOptions& options, const std::atomic<bool>& cancelled);

/// Set at process exit: running transfers abort.
std::atomic<bool>& transfersShuttingDown();

extern const char* const kCancelledDescription;

}  // namespace orvane::detail
