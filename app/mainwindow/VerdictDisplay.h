#pragma once
// What the main window shows for a stock's record: the verdict text in its
// colour, the model-B badge, the day's prices with the change and the day's
// range, and the colours of the close and change fields. Pure, so that every
// rule is tested without a window.

#include <string>

#include "orvane/market/StockRecord.h"

namespace orvane::app {

/// A colour as red, green, blue in 0..1, fully opaque.
struct Rgb {
    double red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace colours {
inline constexpr Rgb black{0, 0, 0};
inline constexpr Rgb orange{1, 0.5, 0};
inline constexpr Rgb red{1, 0, 0};
inline constexpr Rgb magenta{1, 0, 1};
/// The rising and falling figures of the price fields.
inline constexpr Rgb risingRed{1, 10 / 255.0, 10 / 255.0};
inline constexpr Rgb fallingGreen{10 / 255.0, 80 / 255.0, 20 / 255.0};
}  // namespace colours

struct VerdictView {
    std::string code;
    /// The code's tint in the search field: red with a random touch of green.
    Rgb codeColour;
    std::string verdict;
    std::string judgedDay;  ///< judgedDayText of the record's date
    Rgb verdictColour;
    bool modeB = false;
    std::string day, open, close, yesClose, change, range;
    Rgb closeColour, changeColour;
};

/// The verdict text of a trend code (Code, Score, Gain5, Gain10 as the
/// formats take them).
std::string verdictText(int trend, const std::string& code, int score, float gain5, float gain10);
Rgb verdictColour(int trend, int score);

/// Which day a verdict judges, from its record's date: "2026-12-07 收盘判断"
/// for a day's close, "2026-12-08 10:31 盘中判断" for a quote taken during
/// the session; empty without a date.
std::string judgedDayText(const std::string& recordDate);

/// The whole display for a record (an absent trend, score or gain shows
/// as 0); `randomValue` is a fresh non-negative
/// value of the C library's generator (it tints the code).
VerdictView makeVerdictView(const StockRecord& record, int randomValue);

}  // namespace orvane::app
