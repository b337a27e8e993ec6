#include "orvane/analysis/HistoryLines.h"

#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"

namespace orvane {

void parseDayLine(DayLine& line) {
    const std::string_view text = line.text;
    std::size_t field = 0, start = 0;
    bool ascii = true;
    auto take = [&](std::size_t end) {
        const std::string_view value = text.substr(start, end - start);
        switch (field) {
            case 0:
                line.date = value;
                break;
            case 1:
                line.open = leadingFloat(value);
                break;
            case 4:
                line.close = leadingFloat(value);
                break;
            case 5:
                line.volume = leadingFloat(value);
                break;
            default:
                break;
        }
        ++field;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ',') {
            take(i);
            start = i + 1;
        }
        ascii &= static_cast<unsigned char>(c) < 0x80;
    }
    take(text.size());
    line.fields = static_cast<std::uint32_t>(field);
    line.length = static_cast<std::uint32_t>(ascii ? text.size() : utf16Length(text));
    line.parsed = true;
}

ParsedHistory::ParsedHistory(std::string_view text) : text_(text) {
    const std::vector<std::string_view> elements = splitLines(text);
    lines_.resize(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) lines_[i].text = elements[i];
}

std::optional<HistoryView> HistoryView::dayView(std::int64_t k) const {
    const std::int64_t n = size();
    if (n < 2 || k < 1 || k > n - 1) return std::nullopt;
    if (k <= realLines()) return HistoryView(*history_, first_ + k - 1, extras_ + 1);
    return HistoryView(*history_, history_->size(), n - k + 1);
}

}  // namespace orvane
