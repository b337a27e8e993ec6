#include "orvane/core/HistoryReader.h"

namespace orvane {

std::vector<std::string_view> historyElements(std::string_view text) {
    return splitLines(text);
}

std::optional<std::string_view> historyElement(std::string_view text, std::size_t index) {
    std::optional<std::string_view> found;
    visitHistoryElements(text, [&](std::size_t i, std::string_view element) {
        if (i == index) found = element;
        return i < index;
    });
    return found;
}

std::vector<std::string_view> dayFields(std::string_view line) {
    return splitOn(line, ',');
}

std::size_t dayFieldCount(std::string_view line) {
    return countFields(line, ',');
}

}  // namespace orvane
