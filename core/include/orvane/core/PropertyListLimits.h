#pragma once
// What property-list bytes may hold before the program hands them to the
// parser. The parser and its clean-up walk nested arrays and dictionaries
// recursively, so a file of a few megabytes nested 200,000 deep overflows the
// stack; and a binary property list may refer to one object from many places,
// so a few hundred bytes can expand to billions of values. The bytes are
// therefore scanned first, without building anything: the XML form by its
// tags (as the parser reads them: comments, CDATA, quoted attributes and the
// document type are skipped the same way), the binary form by walking its
// object table from the trailer with an explicit stack, every offset and
// count checked and each object measured once. Both scans may overestimate,
// never underestimate, what the parser would build. They also look for the
// one kind of text the library cannot hand back: a string holding a NUL.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

/// Arrays and dictionaries nest at most this deep (the top one counts).
inline constexpr std::size_t kMaxPropertyListNesting = 256;
/// A binary property list expands to at most this many values.
inline constexpr std::uint64_t kMaxPropertyListValues = std::uint64_t{1} << 20;

/// Why the bytes must not reach the parser, or nothing when they may.
std::optional<std::string> propertyListRefusal(std::string_view bytes);

/// What the parser would build from the bytes, at most. A scan stops as
/// soon as the nesting or the values pass their limits.
struct PropertyListShape {
    std::size_t nesting = 0;
    std::uint64_t values = 0;  // counted in the binary form only
    /// A string holding a NUL character (in the binary form a UTF-16 one):
    /// the library keeps its length past the NUL, and its accessors abort
    /// on that.
    bool nulInText = false;
};
PropertyListShape xmlPropertyListShape(std::string_view bytes);
/// The binary form ("bplist00").
PropertyListShape binaryPropertyListShape(std::string_view bytes);

}  // namespace orvane
