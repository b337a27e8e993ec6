// Daily CSV in the other tools' layouts on arbitrary bytes: the first byte
// picks the layout (and whether the file's name gives a code), the rest is
// the file, taken as a user's text (UTF-8 or GB 18030). Every day read
// belongs to a share, lies on a line of the file, and has finite numbers;
// the days settled from a stock are in strict date order, each one that can
// be true. Read in small pieces on several threads, as a large file is, it
// gives the very same days and refusals.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "orvane/core/LocalTime.h"
#include "orvane/market/CsvLayout.h"
#include "orvane/market/DayPlausibility.h"
#include "orvane/market/UserText.h"

namespace {

bool sameDays(const orvane::LayoutCsvRead& a, const orvane::LayoutCsvRead& b) {
    if (a.stocks.size() != b.stocks.size() || a.refused != b.refused || a.beijing != b.beijing ||
        a.otherLines != b.otherLines || a.suspendedDays != b.suspendedDays)
        return false;
    for (std::size_t s = 0; s < a.stocks.size(); ++s) {
        const auto &x = a.stocks[s].days, &y = b.stocks[s].days;
        if (a.stocks[s].code.code != b.stocks[s].code.code || x.size() != y.size()) return false;
        for (std::size_t i = 0; i < x.size(); ++i)
            if (x[i].line != y[i].line || x[i].date != y[i].date || x[i].close != y[i].close ||
                x[i].volume != y[i].volume)
                return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto layout = static_cast<orvane::CsvLayout>(data[0] % 4);
    const bool named = data[0] & 4;
    const auto text =
        orvane::userTextAsUtf8(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    if (!text) return 0;
    orvane::csvLayoutOfHeader(std::string_view(*text).substr(0, text->find('\n')));
    const auto fileCode =
        named ? orvane::parseSecurityCode("sz000001") : std::optional<orvane::SecurityCode>();
    orvane::LayoutCsvRead read = orvane::readLayoutCsv(*text, layout, fileCode, 2, 1);
    if (read.fault) {
        if (!read.stocks.empty()) __builtin_trap();
        return 0;
    }
    std::size_t lines = 1;
    for (char c : *text) lines += c == '\n';
    for (auto& stock : read.stocks) {
        if (orvane::securityKindOf(stock.code) != orvane::SecurityKind::Share) __builtin_trap();
        std::size_t count = stock.days.size();
        for (const orvane::ImportedDay& day : stock.days) {
            if (day.file != 2 || day.line < 2 || day.line > lines) __builtin_trap();
            for (double v : {day.open, day.high, day.low, day.close, day.volume})
                if (!std::isfinite(v)) __builtin_trap();
        }
        const orvane::SettledDays settled = orvane::settleDays(stock.days, "2030-01-01");
        if (settled.bars.size() + settled.refused.size() != count) __builtin_trap();
        for (std::size_t i = 0; i < settled.bars.size(); ++i) {
            const orvane::DailyBar& day = settled.bars[i];
            if (!orvane::parseDate(day.date) || orvane::impossibilityOf(day, "2030-01-01"))
                __builtin_trap();
            if (i > 0 && (day.date <= settled.bars[i - 1].date ||
                          orvane::impossibleMoveFrom(settled.bars[i - 1].close, day)))
                __builtin_trap();
        }
    }
    // Read again in pieces of a few bytes on three threads: the same days.
    if (!sameDays(read, orvane::readLayoutCsv(*text, layout, fileCode, 2, 3, 1 + data[0] % 61)))
        __builtin_trap();
    return 0;
}
