#pragma once
// Daily CSV files (columns found by header name: date, open, close, high,
// low, volume; oldest day first) converted into history texts.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr std::string_view kHistoryHeader = "Date,Open,High,Low,Close,Volume,Adj Close";

/// A CSV field without surrounding blanks, quotes or carriage return.
std::string_view trimCsvField(std::string_view field);

/// The longest line a CSV reader takes; a longer one is refused as a line.
inline constexpr std::size_t kLongestCsvLine = 1 << 20;

/// A field as a message quotes it: in double quotes, cut after 80 bytes (at
/// a character's boundary) with the field's full size said, so that a huge
/// field never floods a message.
std::string quotedField(std::string_view field);

/// Whether a field is a whole decimal number: optional sign, digits, an
/// optional fraction and exponent, and one a double holds (1e999 is none).
bool isCsvNumber(std::string_view field);

/// The field's value when it is such a number (read once), else nothing.
std::optional<double> csvNumber(std::string_view field);

/// One day of a daily CSV.
struct DailyBar {
    std::string date;  // yyyy-MM-dd
    double open = 0, high = 0, low = 0, close = 0, volume = 0;
};

/// The day lines of a daily CSV in file order (lines with fewer than six
/// fields skipped, numbers read leniently); nothing, with the reason in
/// `error`, when the header lacks a column.
std::optional<std::vector<DailyBar>> readDailyBars(std::string_view csv, std::string& error);

/// The history text of bars given oldest first: header, then newest day
/// first, prices "%.2f", volume "%.0f", the close again as the seventh field.
std::string historyTextOf(const std::vector<DailyBar>& bars);

struct CsvConversion {
    std::string history;  // header, then newest day first
    std::size_t days = 0;
    std::string error;  // set when the CSV cannot be converted
};

/// Lines with fewer than six fields are skipped; days after `until`
/// ("yyyy-MM-dd", compared as text) are left out when it is given.
CsvConversion csvToHistoryText(std::string_view csv,
                               std::optional<std::string> until = std::nullopt);

/// The strict check a publisher applies before trusting a daily CSV: the
/// header names every column; each day line has a real date after the one
/// before it and numbers that parse whole (a line longer than
/// `kLongestCsvLine` is left to the reader, which refuses it). The first
/// problem found, as "line N: ..." (1 is the header), or nothing when the
/// file is sound.
std::optional<std::string> checkDailyCsv(std::string_view csv);

/// A daily CSV read for a market: the file as a whole must pass
/// `checkDailyCsv`; of its day lines, one too long or describing an
/// impossible day (see DayPlausibility.h; a move is measured from the last
/// day kept) is refused and the rest kept.
struct CheckedDailyCsv {
    std::optional<std::string> fault;  // the whole file is unsound
    std::vector<DailyBar> bars;        // the days kept, oldest first
    std::vector<std::string> refused;  // "line N: why; refused", one a line
};
CheckedDailyCsv readCheckedDailyCsv(std::string_view csv, std::string_view today);

}  // namespace orvane
