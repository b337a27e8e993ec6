#pragma once
// The stock code table "constdata/stockcode/code.txt" and the lookups built
// on it. The file is UTF-16, one entry a line (code, name, pinyin
// abbreviation, separated by control or format characters). A leading
// byte-order mark gives the byte order: FF FE little-endian (what the data
// server publishes), FE FF big-endian. A file without a mark is read
// big-endian, the order UTF-16 means when nothing says otherwise, so a table
// reads the same on every machine whatever the host's own byte order.
//
// Candidate search and code-from-name see the file as it is on every call
// (the parsed entries are kept only while the file's time and size stay);
// the sorted name table is built on the first name lookup and kept for the
// life of the object, unless it came out empty (no reference data yet): then
// the next lookup builds it again, so names appear once the first reference
// archive is installed.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/core/Value.h"

namespace orvane {

struct CodeTableEntry {
    std::string code, name, pinyin;
    /// {STOCK_Code, STOCK_SC_Name, STOCK_pinyin}.
    Dictionary toRecord() const;
};

/// What a person types, made into a search key: surrounding blanks dropped,
/// a code with a market prefix or suffix ("sh600000", "000002.SZ") reduced
/// to its six digits, Latin letters (pinyin initials, which the table holds
/// in capitals) in capitals. A key already in that form is unchanged.
std::string normaliseSearchKey(std::string_view typed);

/// The entries of a code table file's bytes (byte order as above), in file
/// order: lines whose first field is exactly 6 characters and that have at
/// least three fields. Bytes that are not UTF-16 give no entries.
std::vector<CodeTableEntry> parseCodeTable(std::string_view utf16Bytes);

/// Whether a key is long enough to search with: at least 4 characters when
/// it starts with a digit (a code), else at least 2 (pinyin or a name).
bool isSearchKeyLongEnough(std::string_view key);

class CodeTable {
  public:
    /// The data directory's table (its place looked up on every read).
    static CodeTable& shared();
    /// A table at a fixed path; an empty path means the data directory's.
    explicit CodeTable(std::filesystem::path file = {});

    std::filesystem::path file() const;
    /// Every entry as a record, in file order.
    Array getAllStockTradeData() const;
    /// How many entries the table has (0 without reference data).
    std::size_t entryCount() const;
    /// Entries whose code (key starting with a digit), pinyin (key starting
    /// with a Latin letter) or name (any other key) contains the key as
    /// typed; file order. Nothing for a key too short.
    Array searchStockSubKey(std::string_view key) const;
    std::optional<std::string> getStockCodeName(std::string_view code) const;
    /// Position in the name table of the code's integer value.
    std::optional<std::size_t> BinarySearchByCode(std::string_view code) const;
    /// The code of the last entry whose name equals `name` exactly.
    std::optional<std::string> getStockCodeFromName(std::string_view name) const;

    /// Positions are 16-bit: the name table keeps at most this many entries.
    static constexpr std::size_t kMaxNameTableSize = 65535;

  private:
    std::shared_ptr<const std::vector<CodeTableEntry>> readEntries() const;
    std::shared_ptr<const std::vector<CodeTableEntry>> nameTable() const;

    std::filesystem::path file_;
    mutable std::mutex entriesMutex_;
    mutable std::shared_ptr<const std::vector<CodeTableEntry>> entries_;
    mutable std::filesystem::path entriesPath_;
    mutable std::filesystem::file_time_type entriesWritten_;
    mutable std::uintmax_t entriesSize_ = 0;
    mutable std::mutex nameTableMutex_;
    mutable std::shared_ptr<const std::vector<CodeTableEntry>> nameTable_;
};

}  // namespace orvane
