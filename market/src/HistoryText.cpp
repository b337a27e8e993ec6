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

std::string historyBeforeDay(std::string_view text, std::string_view day) {
    const auto line1 = historyLine(text, 1);
    if (day.empty() || !line1 || line1->substr(0, line1->find(',')) != day)
        return std::string(text);
    // Line 1 lies inside the text: cut it with the line break after it.
    const std::size_t begin = static_cast<std::size_t>(line1->data() - text.data());
    std::size_t end = begin + line1->size();
    end += newlineAt(text, end);
    std::string out(text.substr(0, begin));
    out.append(text.substr(end));
    return out;
}

std::optional<LocalDateTime> getdateBefore5Day(std::string_view text) {
    auto line6 = historyLine(text, 6);
    if (!line6 || !isDayLineShaped(*line6, 5)) {
        return toLocal(now());
    }
    return parseDate(line6->substr(0, line6->find(',')));
}

}  // namespace orvane
