#include "orvane/core/PropertyListLimits.h"

namespace orvane {

std::optional<std::string> propertyListRefusal(std::string_view bytes) {
    const PropertyListShape shape = bytes.starts_with("bplist00") ? binaryPropertyListShape(bytes)
                                                                  : xmlPropertyListShape(bytes);
    if (shape.nesting > kMaxPropertyListNesting)
        return "arrays and dictionaries nested deeper than " +
               std::to_string(kMaxPropertyListNesting);
    if (shape.values > kMaxPropertyListValues)
        return "shared objects expanding to more than " + std::to_string(kMaxPropertyListValues) +
               " values";
    if (shape.nulInText) return std::string("a string with a NUL character");
    return std::nullopt;
}

}  // namespace orvane
