#pragma once
// How far a stock's price may move in one day, by board and date: one dated
// table, so that a change of the exchanges' rules is one line to correct.
//   main board (60, 00)      10%; ST 5%, 10% from 2025-07-07
//   ChiNext (30)             10% (ST 5%); 20% (ST too) from 2020-08-24
//   STAR (68)                20% (ST too)
// A newly listed stock has no limit in its first 5 trading days on STAR, on
// ChiNext from 2020-08-24 and on the main board from 2023-04-10.

#include <cstddef>
#include <optional>
#include <string_view>

namespace orvane {

enum class Board { Main, ChiNext, Star };

/// The board of a 6-digit code: "30" ChiNext, "68" STAR, every other code the
/// main board.
Board boardOf(std::string_view code);

/// The trading days after its listing during which a new stock has no limit.
inline constexpr int kUnlimitedListingDays = 5;

/// The limit as a share of the previous close ("0.1") of a stock of `board`
/// on `date` ("yyyy-MM-dd"); nothing on the first `kUnlimitedListingDays`
/// days of a listing (`listingDay` counts from 0; pass a negative number when
/// the stock was listed before the data begin) where the date's rules free them.
std::optional<double> dailyLimitOf(Board board, std::string_view date, bool st,
                                   int listingDay = -1);

/// The `listingDay` of a stock's line `row` (its lines counted from 0): a
/// stock counts as newly listed only when its first line comes after the
/// data's first day; one there from the start was listed before (-1).
inline int listingDayOf(std::size_t row, bool firstLineAfterDataStart) {
    return firstLineAfterDataStart && row < static_cast<std::size_t>(kUnlimitedListingDays)
               ? static_cast<int>(row)
               : -1;
}

/// A risk-warned share: its name carries "ST" ("ST某某", "*ST某某").
bool isRiskWarned(std::string_view name);

/// Whether a price is at the limit up (down) from the previous close: at or
/// beyond the limit price (the previous close moved by `limit`, rounded to the
/// cent as the exchanges set it; under 5 yuan it can lie inside the limit), or
/// within 0.1 point of the full move.
bool atLimitUp(double price, double previousClose, double limit);
bool atLimitDown(double price, double previousClose, double limit);

}  // namespace orvane
