#pragma once
// Reading the property-list files the application keeps in its data
// directory ("StockModeB.plist", "Setting.plist", ...).
//
// A missing file reads as nothing, and the caller uses its default. A file
// that is there but is no property list of the expected kind (binary
// garbage, a truncated write, an array where a dictionary belongs), is larger
// than kStoredPropertyListLimit or is no regular file at all (a FIFO, a
// folder) is moved
// aside to "<name>.unreadable-<yyyyMMdd-HHmmss>" (with "-2", "-3", ... when
// that name is taken; nothing is ever overwritten), so that the next save
// does not destroy what the user may want to look at, and the result says
// so: the caller reports it once in the status line and goes on with its
// default. A file the system refuses to read (permissions) is left alone.

#include <cstdint>
#include <filesystem>
#include <string>

#include "orvane/core/Value.h"

namespace orvane::app {

enum class StoredKind { Dictionary, Array };

/// The largest property list read: far more than years of alerts take.
inline constexpr std::uintmax_t kStoredPropertyListLimit = 8 * 1024 * 1024;

struct StoredPropertyList {
    enum class State {
        Read,       ///< `value` holds the file's dictionary or array
        Missing,    ///< no such file
        SetAside,   ///< unusable content, moved to `setAsidePath`
        Unreadable  ///< unusable and left in place (not readable, or it could not be moved)
    };
    /// Why a file was set aside.
    enum class Fault { Content, TooLarge, NotAFile };
    State state = State::Missing;
    Fault fault = Fault::Content;
    Value value;
    std::filesystem::path file;
    std::filesystem::path setAsidePath;

    bool wasRead() const { return state == State::Read; }
    /// The file was there but gave nothing: worth one status-line message.
    bool needsReport() const { return state == State::SetAside || state == State::Unreadable; }
    /// That message, in the program's language; empty when there is nothing to report.
    std::string reportText() const;
};

StoredPropertyList readStoredPropertyList(const std::filesystem::path& file, StoredKind kind);

/// For a file that was read but holds what its reader never writes (a
/// dictionary of the wrong entries): sets it aside as a damaged one.
void setStoredFileAside(StoredPropertyList& stored);

}  // namespace orvane::app
