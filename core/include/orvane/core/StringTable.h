#pragma once
// The program's localized string table: the texts looked up by key (messages
// whose wording is the program's own rather than fixed by a format).

#include <string_view>

namespace orvane {

/// The text under `key`; the empty text for a key the table lacks.
/// "noticeDown2" takes, in order: group (%s), its falling share (%.1f), stock
/// name (%s), code (%s), the stock's change in percent (%.2f).
const char* localizedString(std::string_view key);

}  // namespace orvane
