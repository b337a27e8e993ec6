#include "orvane/market/AdjustmentInputs.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/CsvHistory.h"
#include "orvane/market/ImportedDays.h"
#include "orvane/market/SecurityCode.h"

namespace orvane {

namespace {

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A CSV read by column names: the header's names (trimmed, lower case), then
// each day line's fields through `field`.
class NamedColumns {
  public:
    explicit NamedColumns(std::string_view headerLine) {
        for (std::string_view name : splitOn(headerLine, ','))
            names_.push_back(lowered(trimCsvField(name)));
        if (!names_.empty() && names_.front().starts_with("\xEF\xBB\xBF"))
            names_.front().erase(0, 3);  // a byte-order mark
    }
    int indexOf(std::string_view name) const {
        const auto at = std::find(names_.begin(), names_.end(), name);
        return at == names_.end() ? -1 : static_cast<int>(at - names_.begin());
    }

  private:
    std::vector<std::string> names_;
};

std::string_view fieldAt(const std::vector<std::string_view>& fields, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < fields.size()
               ? trimCsvField(fields[index])
               : std::string_view{};
}

// A number of the file: an empty field is 0; anything else must parse whole
// to a finite value not below 0.
std::optional<double> amountOf(std::string_view text) {
    if (text.empty()) return 0.0;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return value;
}

// The six digits of a code in any form other tools write it.
std::optional<std::string> plainStockCode(std::string_view text) {
    if (const auto code = parseSecurityCode(text)) return code->code;
    return std::nullopt;
}

// "yyyy-MM-dd" of a real date written "yyyyMMdd" or "yyyy-MM-dd".
std::optional<std::string> isoDateOf(std::string_view text) {
    const std::uint32_t date = importedDate(text);
    if (date == 0) return std::nullopt;
    char out[11];
    std::snprintf(out, sizeof out, "%04u-%02u-%02u", date / 10000, date / 100 % 100, date % 100);
    return std::string(out);
}

std::string lineLabel(std::size_t index) {
    return "line " + std::to_string(index + 1) + ": ";
}

// The lines of a CSV after its header, each with its index, or the fault of
// a header missing one of `required`.
template <typename Row>
std::optional<std::string> forEachRow(std::string_view csv,
                                      const std::vector<std::string_view>& required,
                                      std::vector<int>& columns, Row row) {
    const std::vector<std::string_view> lines = splitLines(csv);
    if (lines.empty() || lines[0].empty()) return "the file is empty";
    const NamedColumns header(lines[0]);
    for (std::string_view name : required) {
        columns.push_back(header.indexOf(name));
        if (columns.back() < 0)
            return "line 1: no \"" + std::string(name) + "\" column in the header";
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (trimCsvField(lines[i]).empty()) continue;
        if (lines[i].size() > kLongestCsvLine) {
            row(i, std::vector<std::string_view>{}, lineLabel(i) + "longer than 1 MB");
            continue;
        }
        row(i, splitOn(lines[i], ','), std::string{});
    }
    return std::nullopt;
}

}  // namespace

ExRightsEvents readExRightsEvents(std::string_view csv) {
    ExRightsEvents out;
    std::vector<int> c;
    out.fault = forEachRow(
        csv,
        {"code", "date", "cash_per_10", "bonus_per_10", "transfer_per_10", "rights_per_10",
         "rights_price"},
        c, [&](std::size_t i, const std::vector<std::string_view>& f, std::string problem) {
            const auto code = plainStockCode(fieldAt(f, c[0]));
            const auto date = isoDateOf(fieldAt(f, c[1]));
            std::optional<double> amounts[5];
            for (int k = 0; k < 5; ++k) amounts[k] = amountOf(fieldAt(f, c[2 + k]));
            if (problem.empty() && !code)
                problem = lineLabel(i) + "no stock code " + quotedField(fieldAt(f, c[0]));
            if (problem.empty() && !date)
                problem = lineLabel(i) + "no date " + quotedField(fieldAt(f, c[1]));
            for (int k = 0; k < 5 && problem.empty(); ++k)
                if (!amounts[k])
                    problem = lineLabel(i) + "not an amount: " + quotedField(fieldAt(f, c[2 + k]));
            if (!problem.empty()) {
                out.problems.push_back(problem + "; skipped");
                return;
            }
            out.byCode[*code].push_back(
                {*date, *amounts[0], *amounts[1], *amounts[2], *amounts[3], *amounts[4]});
        });
    return out;
}

AdjustmentFactors readAdjustmentFactors(std::string_view csv) {
    AdjustmentFactors out;
    std::vector<int> c;
    out.fault = forEachRow(
        csv, {"ts_code", "trade_date", "adj_factor"}, c,
        [&](std::size_t i, const std::vector<std::string_view>& f, std::string problem) {
            const auto code = plainStockCode(fieldAt(f, c[0]));
            const auto date = isoDateOf(fieldAt(f, c[1]));
            const auto factor = amountOf(fieldAt(f, c[2]));
            if (problem.empty() && (!code || !date))
                problem = lineLabel(i) + "no stock code or date";
            if (problem.empty() && (!factor || *factor <= 0))
                problem = lineLabel(i) + "not a factor: " + quotedField(fieldAt(f, c[2]));
            if (!problem.empty()) {
                out.problems.push_back(problem + "; skipped");
                return;
            }
            out.byCode[*code].emplace_back(*date, *factor);
        });
    return out;
}

namespace {

template <typename Table>
Table readTableFile(const std::filesystem::path& path, Table (*read)(std::string_view)) {
    const auto bytes = readFile(path);
    Table table;
    if (bytes)
        table = read(*bytes);
    else
        table.fault = "cannot be read";
    const std::string name = path.string() + ": ";
    if (table.fault) table.fault = name + *table.fault;
    for (std::string& p : table.problems) p = name + p;
    return table;
}

}  // namespace

ExRightsEvents readExRightsEventsFile(const std::filesystem::path& path) {
    return readTableFile(path, readExRightsEvents);
}

AdjustmentFactors readAdjustmentFactorsFile(const std::filesystem::path& path) {
    return readTableFile(path, readAdjustmentFactors);
}

}  // namespace orvane
