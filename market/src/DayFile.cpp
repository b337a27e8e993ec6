#include "orvane/market/DayFile.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "orvane/core/LocalTime.h"

namespace orvane {

namespace {

static_assert(std::endian::native == std::endian::little, "day files are read in place");

std::uint32_t u32At(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// "yyyy-MM-dd" for a real date written as YYYYMMDD; nothing otherwise.
std::optional<std::string> dateOf(std::uint32_t yyyymmdd) {
    if (yyyymmdd < 10000101 || yyyymmdd > 99991231) return std::nullopt;
    char text[11];
    const unsigned y = yyyymmdd / 10000, m = yyyymmdd / 100 % 100, d = yyyymmdd % 100;
    text[0] = static_cast<char>('0' + y / 1000);
    text[1] = static_cast<char>('0' + y / 100 % 10);
    text[2] = static_cast<char>('0' + y / 10 % 10);
    text[3] = static_cast<char>('0' + y % 10);
    text[4] = '-';
    text[5] = static_cast<char>('0' + m / 10);
    text[6] = static_cast<char>('0' + m % 10);
    text[7] = '-';
    text[8] = static_cast<char>('0' + d / 10);
    text[9] = static_cast<char>('0' + d % 10);
    text[10] = 0;
    std::string date(text, 10);
    if (!parseDate(date)) return std::nullopt;
    return date;
}

}  // namespace

std::optional<SecurityCode> dayFileCode(std::string_view fileName) {
    if (fileName.size() != 12 || !fileName.ends_with(".day")) return std::nullopt;
    auto code = parseSecurityCode(fileName.substr(0, 8));
    if (!code || code->exchange == Exchange::Unknown) return std::nullopt;
    return code;
}

DayFileRead readDayFile(std::string_view bytes, std::uint32_t file) {
    DayFileRead out;
    const std::size_t records = bytes.size() / kDayRecordSize;
    out.days.reserve(records);
    for (std::size_t r = 0; r < records; ++r) {
        const char* p = bytes.data() + r * kDayRecordSize;
        const auto number = static_cast<std::uint32_t>(r + 1);
        const std::uint32_t rawDate = u32At(p);
        auto date = dateOf(rawDate);
        if (!date) {
            out.refused.push_back("record " + std::to_string(number) + ": " +
                                  std::to_string(rawDate) + " is not a date; refused");
            continue;
        }
        ImportedDay day;
        day.bar.date = std::move(*date);
        day.bar.open = u32At(p + 4) / 100.0;
        day.bar.high = u32At(p + 8) / 100.0;
        day.bar.low = u32At(p + 12) / 100.0;
        day.bar.close = u32At(p + 16) / 100.0;
        day.bar.volume = u32At(p + 24) / 100.0;
        day.file = file;
        day.line = number;
        out.days.push_back(std::move(day));
    }
    if (const std::size_t rest = bytes.size() % kDayRecordSize)
        out.refused.push_back("the last " + std::to_string(rest) +
                              " bytes are no whole record of 32; left out");
    return out;
}

}  // namespace orvane
