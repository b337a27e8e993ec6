#include "orvane/market/CsvHistory.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "orvane/core/LocalTime.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/DayPlausibility.h"

namespace orvane {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '"'))
        s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '"' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Required columns, in history order: date, open, high, low, close, volume.
constexpr std::array<const char*, 6> kColumns = {"date", "open", "high", "low", "close", "volume"};

struct Columns {
    std::array<int, 6> index{-1, -1, -1, -1, -1, -1};
    std::string missing;  // the first column the header lacks
};

Columns findColumns(std::string_view headerLine) {
    Columns out;
    std::vector<std::string_view> header = splitOn(headerLine, ',');
    for (std::size_t i = 0; i < header.size(); ++i) {
        std::string name = lower(trim(header[i]));
        for (std::size_t c = 0; c < kColumns.size(); ++c)
            if (name == kColumns[c] && out.index[c] < 0) out.index[c] = static_cast<int>(i);
    }
    for (std::size_t c = 0; c < kColumns.size() && out.missing.empty(); ++c)
        if (out.index[c] < 0) out.missing = kColumns[c];
    return out;
}

std::string_view stripBom(std::string_view csv) {
    if (csv.starts_with("\xEF\xBB\xBF")) csv.remove_prefix(3);
    return csv;
}

// A plain decimal of at most 15 digits ("12.34", "-0.5", "123456") read in
// one pass: its digits as an exact integer over an exact power of ten, one
// division, which rounds as every correctly rounding reader does. Nothing for
// any other text, which the full reader below then takes.
std::optional<double> shortDecimal(std::string_view t) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const std::size_t n = t.size();
    std::size_t i = 0;
    bool negative = false;
    if (i < n && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    std::uint64_t digits = 0;
    int count = 0, fraction = 0;
    for (; i < n && t[i] >= '0' && t[i] <= '9'; ++i, ++count)
        digits = digits * 10 + static_cast<std::uint64_t>(t[i] - '0');
    if (i < n && t[i] == '.')
        for (++i; i < n && t[i] >= '0' && t[i] <= '9'; ++i, ++count, ++fraction)
            digits = digits * 10 + static_cast<std::uint64_t>(t[i] - '0');
    if (i != n || count == 0 || count > 15) return std::nullopt;
    double value = static_cast<double>(digits);
    if (fraction > 0) value /= kPowers[fraction];
    return negative ? -value : value;
}

}  // namespace

std::optional<double> csvNumber(std::string_view t) {
    if (const auto quick = shortDecimal(t)) return quick;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
    std::size_t digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
        std::size_t exp = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++exp;
        if (exp == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    const double value = leadingDouble(t);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool isCsvNumber(std::string_view t) {
    return csvNumber(t).has_value();
}

std::string_view trimCsvField(std::string_view field) {
    return trim(field);
}

std::string quotedField(std::string_view field) {
    constexpr std::size_t kShown = 80;
    if (field.size() <= kShown) return "\"" + std::string(field) + "\"";
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(field[cut]) & 0xC0) == 0x80) --cut;
    return "\"" + std::string(field.substr(0, cut)) + "...\" (" + std::to_string(field.size()) +
           " bytes)";
}

namespace {

std::string tooLong(std::size_t lineNumber) {
    return "line " + std::to_string(lineNumber) + ": longer than " +
           std::to_string(kLongestCsvLine >> 20) + " MB";
}

}  // namespace

std::optional<std::string> checkDailyCsv(std::string_view csv) {
    csv = stripBom(csv);
    if (trim(csv).empty()) return std::string("the file is empty");
    std::vector<std::string_view> lines = splitOn(csv, '\n');
    const Columns columns = findColumns(lines[0]);
    if (!columns.missing.empty())
        return "line 1: no \"" + columns.missing + "\" column in the header";
    std::string_view previousDate;
    std::size_t days = 0;
    std::vector<std::string_view> f;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].size() > kLongestCsvLine || trim(lines[i]).empty()) continue;
        auto where = [&] { return "line " + std::to_string(i + 1) + ": "; };
        splitOnInto(lines[i], ',', f);
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            const auto at = static_cast<std::size_t>(columns.index[c]);
            const std::string_view value = at < f.size() ? trim(f[at]) : std::string_view();
            if (c == 0) {
                if (!parseDate(value)) return where() + quotedField(value) + " is not a date";
                if (!previousDate.empty() && value <= previousDate)
                    return where() + std::string(value) + " does not follow " +
                           std::string(previousDate);
                previousDate = value;
            } else if (!isCsvNumber(value)) {
                return where() + "the " + kColumns[c] + " " + quotedField(value) +
                       " is not a number";
            }
        }
        ++days;
    }
    if (days == 0) return std::string("no day lines");
    return std::nullopt;
}

CheckedDailyCsv readCheckedDailyCsv(std::string_view csv, std::string_view today) {
    CheckedDailyCsv out;
    if ((out.fault = checkDailyCsv(csv))) return out;
    csv = stripBom(csv);
    const std::vector<std::string_view> lines = splitOn(csv, '\n');
    const std::array<int, 6> column = findColumns(lines[0]).index;
    std::vector<std::string_view> f;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].size() > kLongestCsvLine) {
            out.refused.push_back(tooLong(i + 1) + "; refused");
            continue;
        }
        if (trim(lines[i]).empty()) continue;
        splitOnInto(lines[i], ',', f);
        auto field = [&](int c) { return trim(f[static_cast<std::size_t>(column[c])]); };
        DailyBar day{std::string(field(0)),   leadingDouble(field(1)), leadingDouble(field(2)),
                     leadingDouble(field(3)), leadingDouble(field(4)), leadingDouble(field(5))};
        auto why = impossibilityOf(day, today);
        if (!why && !out.bars.empty()) why = impossibleMoveFrom(out.bars.back().close, day);
        if (why) {
            out.refused.push_back("line " + std::to_string(i + 1) + ": " + *why + "; refused");
            continue;
        }
        out.bars.push_back(std::move(day));
    }
    return out;
}

std::optional<std::vector<DailyBar>> readDailyBars(std::string_view csv, std::string& error) {
    csv = stripBom(csv);
    std::vector<std::string_view> lines = splitOn(csv, '\n');
    const Columns found = findColumns(lines[0]);
    if (!found.missing.empty()) {
        error = "no \"" + found.missing + "\" column in the header";
        return std::nullopt;
    }
    const std::array<int, 6>& column = found.index;
    std::vector<DailyBar> bars;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string_view> f = splitOn(lines[i], ',');
        if (f.size() < 6) continue;
        auto field = [&](int c) {
            return static_cast<std::size_t>(column[c]) < f.size() ? trim(f[column[c]]) : "";
        };
        bars.push_back({std::string(field(0)), leadingDouble(field(1)), leadingDouble(field(2)),
                        leadingDouble(field(3)), leadingDouble(field(4)), leadingDouble(field(5))});
    }
    return bars;
}

std::string historyTextOf(const std::vector<DailyBar>& bars) {
    std::string out;
    out.reserve(kHistoryHeader.size() + 1 + bars.size() * 56);
    out.append(kHistoryHeader).push_back('\n');
    auto put = [&](double value, int decimals) {
        out += ',';
        appendFixed(out, value, decimals);  // what "%.2f" and "%.0f" write
    };
    for (auto it = bars.rbegin(); it != bars.rend(); ++it) {
        out += it->date;
        for (double price : {it->open, it->high, it->low, it->close}) put(price, 2);
        put(it->volume, 0);
        put(it->close, 2);
        out += '\n';
    }
    return out;
}

CsvConversion csvToHistoryText(std::string_view csv, std::optional<std::string> until) {
    CsvConversion out;
    auto bars = readDailyBars(csv, out.error);
    if (!bars) return out;
    if (until) std::erase_if(*bars, [&](const DailyBar& b) { return b.date > *until; });
    out.history = historyTextOf(*bars);
    out.days = bars->size();
    return out;
}

}  // namespace orvane
