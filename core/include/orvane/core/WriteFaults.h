#pragma once
// The test seam of the file-writing layer (FileWrites.h): every operation of
// that layer is counted, and a plan may make the N-th one fail with a given
// error, as a full disk (ENOSPC) or a failing one (EIO) would. Whole commands
// are tried as child processes, so the plan comes from the environment, read
// once on the first operation:
//   ORVANE_WRITE_FAULT="N:ENOSPC"   fail the N-th operation (1-based) alone
//   ORVANE_WRITE_FAULT="N+:EIO"     fail the N-th and every later one
//   ORVANE_WRITE_COUNT=FILE         write the number of operations to FILE at exit
// Unset, an operation costs one atomic increment.

#include <optional>
#include <string_view>

namespace orvane {

struct WriteFaultPlan {
    long failAt = 0;        // the operation that fails, counted from 1
    int error = 0;          // the errno it fails with
    bool andLater = false;  // every later operation fails too
};

/// "N:ERROR" or "N+:ERROR" (ERROR is ENOSPC, EIO, EDQUOT, EROFS or EFBIG).
std::optional<WriteFaultPlan> parseWriteFaultPlan(std::string_view text);

/// Replaces the plan (nothing: no fault) and starts the count again; for
/// tests that try saves in their own process.
void setWriteFaultPlan(std::optional<WriteFaultPlan> plan);

/// The operations counted since the start or the last `setWriteFaultPlan`.
long writeOperationCount();

/// Counts one operation: the errno the plan makes it fail with, or 0.
int countWriteOperation();

}  // namespace orvane
