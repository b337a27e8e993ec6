#pragma once
// Large blocks written once from start to end (the back-test's signal list)
// fault in page by page, and on a virtual machine each fault is costly. The
// kernel can back such a block with huge pages on request: a few hundred
// times fewer faults.

#include <cstddef>

namespace orvane {

/// Asks for huge pages under the whole 2 MiB pages within [data, data +
/// bytes), before the block is first written; a request the system refuses
/// changes nothing.
void preferHugePages(const void* data, std::size_t bytes);

}  // namespace orvane
