#include "orvane/market/CsvHistory.h"

#include <array>
#include <vector>

#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"

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

}  // namespace

CsvConversion csvToHistoryText(std::string_view csv, std::optional<std::string> until) {
    CsvConversion out;
    if (csv.starts_with("\xEF\xBB\xBF")) csv.remove_prefix(3);
    std::vector<std::string_view> lines = splitOn(csv, '\n');
    // Column positions of date, open, high, low, close, volume.
    static constexpr std::array<const char*, 6> kColumns = {"date", "open",  "high",
                                                            "low",  "close", "volume"};
    std::array<int, 6> column{-1, -1, -1, -1, -1, -1};
    std::vector<std::string_view> header =
        splitOn(lines.empty() ? std::string_view() : lines[0], ',');
    for (std::size_t i = 0; i < header.size(); ++i) {
        std::string name = lower(trim(header[i]));
        for (std::size_t c = 0; c < kColumns.size(); ++c)
            if (name == kColumns[c] && column[c] < 0) column[c] = static_cast<int>(i);
    }
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        if (column[c] < 0) {
            out.error = std::string("no \"") + kColumns[c] + "\" column in the header";
            return out;
        }
    }

    std::vector<std::string> days;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string_view> f = splitOn(lines[i], ',');
        if (f.size() < 6) continue;
        auto field = [&](int c) {
            return static_cast<std::size_t>(column[c]) < f.size() ? trim(f[column[c]]) : "";
        };
        std::string_view date = field(0);
        if (until && std::string(date) > *until) continue;
        double open = leadingDouble(field(1)), high = leadingDouble(field(2)),
               low = leadingDouble(field(3)), close = leadingDouble(field(4)),
               volume = leadingDouble(field(5));
        days.push_back(std::string(date) + format(",%.2f,%.2f,%.2f,%.2f,%.0f,%.2f\n", open, high,
                                                  low, close, volume, close));
    }
    out.history.reserve(kHistoryHeader.size() + 1 + days.size() * 56);
    out.history.append(kHistoryHeader).append("\n");
    for (auto it = days.rbegin(); it != days.rend(); ++it) out.history += *it;
    out.days = days.size();
    return out;
}

}  // namespace orvane
