#include "orvane/core/FolderRemoval.h"

#include <vector>

#include "orvane/core/ParallelFor.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

// Removals in flight: they mostly wait for the device, not the processor.
constexpr int kRemovals = 16;
// Enough pieces to keep the removals busy, found within a few levels.
constexpr std::size_t kPieces = 256;
constexpr int kLevels = 4;

/// Splits the tree into pieces to remove on their own: the entries of the
/// folders found breadth first until there are enough of them.
std::vector<fs::path> piecesOf(const fs::path& folder) {
    std::vector<fs::path> pieces{folder};
    for (int level = 0; level < kLevels && pieces.size() < kPieces; ++level) {
        std::vector<fs::path> next;
        for (const auto& piece : pieces) {
            std::error_code ec;
            const bool folderPiece =
                fs::symlink_status(piece, ec).type() == fs::file_type::directory;
            if (!folderPiece) {
                next.push_back(piece);
                continue;
            }
            for (fs::directory_iterator it(piece, ec), end; !ec && it != end; it.increment(ec))
                next.push_back(it->path());
        }
        pieces = std::move(next);
    }
    return pieces;
}

}  // namespace

bool removeFolderTree(const fs::path& folder) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(folder, ec))) return true;
    const auto pieces = piecesOf(folder);
    parallelFor(pieces.size(), kRemovals, [&](std::size_t i) {
        std::error_code ignored;
        fs::remove_all(pieces[i], ignored);
    });
    fs::remove_all(folder, ec);
    return !ec && !fs::exists(fs::symlink_status(folder, ec));
}

}  // namespace orvane
