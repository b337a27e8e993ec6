#pragma once
// The program's one text-encoding helper: every conversion into or out of
// UTF-8 goes through here (iconv underneath). Response texts and stored quote
// files are GB 18030, the code table is UTF-16, everything else UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

/// Whether the bytes are valid UTF-8.
bool isValidUtf8(std::string_view bytes);

/// GB 18030 bytes as UTF-8; nothing when a byte sequence is not GB 18030.
std::optional<std::string> gb18030ToUtf8(std::string_view bytes);
/// UTF-8 as GB 18030 bytes; nothing when the text is not valid UTF-8.
std::optional<std::string> utf8ToGb18030(std::string_view text);

/// A downloaded text file as UTF-8: read as GB 18030 (the servers'
/// encoding) when it decodes so, else taken as it is.
std::string downloadedText(std::string_view bytes);

/// UTF-16 bytes as UTF-8. A leading byte-order mark (FE FF or FF FE) picks
/// the byte order and is dropped; without one the text is read big-endian.
/// Nothing for an odd byte count, an unpaired surrogate or other bad input.
std::optional<std::string> utf16ToUtf8(std::string_view bytes);
/// UTF-8 as UTF-16 with a byte-order mark (little-endian when `littleEndian`).
std::optional<std::string> utf8ToUtf16(std::string_view text, bool littleEndian = true);

}  // namespace orvane
