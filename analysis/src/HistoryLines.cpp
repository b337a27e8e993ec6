#include "orvane/analysis/HistoryLines.h"

#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"

namespace orvane {

namespace {

const DayLine kEmptyLine{};

// Splits a day line on "," and reads the fields the engine uses.
DayLine parseDayLine(std::string_view text) {
    DayLine line;
    line.text = text;
    line.length = static_cast<std::uint32_t>(utf16Length(text));
    std::size_t field = 0, start = 0;
    auto take = [&](std::size_t end) {
        std::string_view value = text.substr(start, end - start);
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
        if (text[i] == ',') {
            take(i);
            start = i + 1;
        }
    }
    take(text.size());
    line.fields = static_cast<std::uint32_t>(field);
    return line;
}

}  // namespace

ParsedHistory::ParsedHistory(std::string_view text) : text_(text), elements_(splitLines(text)) {
    lines_.resize(elements_.size());
    parsed_.resize(elements_.size(), false);
}

const DayLine& ParsedHistory::line(std::int64_t i) const {
    if (!parsed_[i]) {
        lines_[i] = parseDayLine(elements_[i]);
        parsed_[i] = true;
    }
    return lines_[i];
}

const DayLine& HistoryView::operator[](std::int64_t i) const {
    if (i == 0) return history_->line(0);
    if (i < 0 || i > realLines()) return kEmptyLine;
    return history_->line(first_ + i - 1);
}

std::optional<HistoryView> HistoryView::dayView(std::int64_t k) const {
    const std::int64_t n = size();
    if (n < 2 || k < 1 || k > n - 1) return std::nullopt;
    if (k <= realLines()) return HistoryView(*history_, first_ + k - 1, extras_ + 1);
    return HistoryView(*history_, history_->size(), n - k + 1);
}

}  // namespace orvane
