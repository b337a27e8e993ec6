#pragma once
// The program's localized string table: the texts looked up by key (messages
// whose wording is the program's own rather than fixed by a format). The
// shared table is `StringTable::shared()`; the default holds the program's
// own texts.

#include <memory>
#include <string>
#include <string_view>

#include "orvane/core/ReplaceableService.h"

namespace orvane {

class StringTable : public ReplaceableService<StringTable> {
  public:
    virtual ~StringTable() = default;
    /// The text under `key`; the empty text for a key the table lacks.
    virtual std::string localizedString(std::string_view key) const = 0;

    static std::shared_ptr<StringTable> headlessDefault();
};

/// The shared table's text under `key`.
/// "noticeDown2" takes, in order: group (%s), its falling share (%.1f), stock
/// name (%s), code (%s), the stock's change in percent (%.2f).
inline std::string localizedString(std::string_view key) {
    return StringTable::shared()->localizedString(key);
}

}  // namespace orvane
