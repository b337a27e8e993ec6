#include "orvane/market/HistoryText.h"

#include "orvane/core/Clock.h"
#include "orvane/core/HistoryReader.h"

namespace orvane {

namespace {

bool isDayLineShaped(std::string_view line, std::size_t minLength) {
    return utf16Length(line) >= minLength && dayFieldCount(line) >= kDayLineFields;
}

}  // namespace

std::optional<std::string_view> historyLine(std::string_view text, std::size_t index) {
    return historyElement(text, index);
}

bool isValidRespondStr(std::string_view text) {
    std::string_view line2;
    std::size_t count = visitHistoryElements(text, [&](std::size_t i, std::string_view line) {
        if (i == 2) line2 = line;
        return i < 19;
    });
    return count >= 20 && isDayLineShaped(line2, 5);
}

std::optional<LocalDateTime> getdateBefore5Day(std::string_view text) {
    auto line6 = historyLine(text, 6);
    if (!line6 || !isDayLineShaped(*line6, 5)) {
        return toLocal(now());
    }
    return parseDate(line6->substr(0, line6->find(',')));
}

}  // namespace orvane
