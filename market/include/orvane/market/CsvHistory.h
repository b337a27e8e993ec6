#pragma once
// Daily CSV files (columns found by header name: date, open, close, high,
// low, volume; oldest day first) converted into history texts.

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

inline constexpr std::string_view kHistoryHeader = "Date,Open,High,Low,Close,Volume,Adj Close";

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
/// before it and numbers that parse whole. The first problem found, as
/// "line N: ..." (1 is the header), or nothing when the file is sound.
std::optional<std::string> checkDailyCsv(std::string_view csv);

}  // namespace orvane
