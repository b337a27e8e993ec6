#pragma once
// The reference data the data server publishes: the version file and the
// archive with the code table (UTF-16), one file per sector group and one
// per composite index.

#include <filesystem>
#include <string>
#include <vector>

#include "orvane/core/LocalTime.h"
#include "orvane/publisher/DailySeries.h"

namespace orvane::server {

/// A composite index computed from member stocks.
struct CompositeIndex {
    std::string code;  // begins 399 or 510
    std::string name;
    std::vector<std::string> members;
};

/// The code table: "code<TAB>name<TAB>pinyin initials" lines (UTF-8 here;
/// the archive stores it as UTF-16 with a byte-order mark).
std::string codeTableText(const std::vector<ListedStock>& stocks);

/// "constdata=" and a version that sorts by time ("yyyy-MM-dd HH:mm:ss").
std::string updateConfigText(const LocalDateTime& version);

/// Writes the zip: constdata/stockcode/code.txt, constdata/plate/GROUP.txt
/// (one code a line), constdata/composit/CODENAME.txt (the members). False,
/// with the reason, when the archive cannot be written.
bool writeReferenceArchive(const std::filesystem::path& zipPath,
                           const std::vector<ListedStock>& stocks,
                           const std::vector<CompositeIndex>& composites, std::string& error);

/// A group or index name made safe as one file name.
std::string fileNameOf(std::string name);

}  // namespace orvane::server
