#include "orvane/market/DayResults.h"

#include <charconv>

#include "orvane/core/TextSplit.h"
#include "orvane/market/SectorGroups.h"
#include "orvane/market/StockCode.h"

namespace orvane {

namespace {

constexpr std::string_view kHeader =
    "code,name,date,trend,score,modelB,buyA,buyB,gain5,gain10,yesClose,open,high,low,close";
constexpr std::size_t kFields = 15;

void appendNumber(std::string& out, double v) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, ec == std::errc() ? static_cast<std::size_t>(end - buf) : 0);
}

std::string_view flagText(const std::optional<bool>& flag) {
    if (!flag) return "";
    return *flag ? "1" : "0";
}

template <typename T>
bool numberOf(std::string_view text, T& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool flagOf(std::string_view text, std::optional<bool>& out) {
    if (text.empty()) {
        out.reset();
        return true;
    }
    if (text != "0" && text != "1") return false;
    out = text == "1";
    return true;
}

bool isDate(std::string_view d) {
    if (d.size() != 10 || d[4] != '-' || d[7] != '-') return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (d[i] < '0' || d[i] > '9') return false;
    return true;
}

std::optional<DayResult> resultOf(std::string_view line) {
    const std::vector<std::string_view> f = splitOn(line, ',');
    if (f.size() != kFields || !isValidStockCode(f[0]) || !isDate(f[2])) return std::nullopt;
    DayResult r;
    r.code = f[0];
    r.name = f[1];
    r.date = f[2];
    std::optional<bool> modelB;
    const bool ok = numberOf(f[3], r.trend) && numberOf(f[4], r.score) && flagOf(f[5], modelB) &&
                    modelB && flagOf(f[6], r.buyA) && flagOf(f[7], r.buyB) &&
                    numberOf(f[8], r.gain5) && numberOf(f[9], r.gain10) &&
                    numberOf(f[10], r.yesClose) && numberOf(f[11], r.open) &&
                    numberOf(f[12], r.high) && numberOf(f[13], r.low) && numberOf(f[14], r.close);
    if (!ok) return std::nullopt;
    r.modelB = *modelB;
    return r;
}

}  // namespace

std::string dayResultsText(const std::vector<DayResult>& results) {
    std::string out(kHeader);
    out.reserve(results.size() * 96 + out.size() + 1);
    out += '\n';
    for (const DayResult& r : results) {
        out += r.code;
        out += ',';
        for (char c : r.name) out += (c == ',' || c == '\n' || c == '\r') ? ' ' : c;
        out.append(",").append(r.date).append(",");
        out.append(std::to_string(r.trend)).append(",").append(std::to_string(r.score));
        out.append(r.modelB ? ",1," : ",0,").append(flagText(r.buyA)).append(",");
        out.append(flagText(r.buyB));
        for (double v : {r.gain5, r.gain10, r.yesClose, r.open, r.high, r.low, r.close}) {
            out += ',';
            appendNumber(out, v);
        }
        out += '\n';
    }
    return out;
}

DayResultsRead parseDayResults(std::string_view text) {
    DayResultsRead read;
    std::size_t pos = 0;
    bool header = true;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (header) {
            if (line != kHeader) {
                read.error = "no day's results: the first line is not the results' header";
                return read;
            }
            header = false;
            continue;
        }
        if (line.empty()) continue;
        if (std::optional<DayResult> r = resultOf(line))
            read.results.push_back(std::move(*r));
        else
            ++read.refusedLines;
    }
    if (header) read.error = "no day's results: the file is empty";
    return read;
}

StockFacts factsOf(const DayResult& r, const SectorGroups* sectors) {
    StockFacts f;
    f.code = r.code;
    f.name = r.name;
    f.trend = r.trend;
    f.score = r.score;
    f.modelB = r.modelB;
    f.buyA = r.buyA.value_or(false);
    f.buyB = r.buyB.value_or(false);
    f.gain5 = r.gain5;
    f.gain10 = r.gain10;
    f.close = r.close;
    f.change = changePercent(r.close, r.yesClose);
    f.limitUp = closedAtLimitUp(r.close, r.yesClose, f.board(), r.date, f.st());
    if (sectors) f.sectors = sectors->groupsOf(r.code);
    return f;
}

}  // namespace orvane
