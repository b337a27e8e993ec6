#include "orvane/market/DayFile.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace orvane {

namespace {

static_assert(std::endian::native == std::endian::little, "day files are read in place");

std::uint32_t u32At(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
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
        const std::string digits = std::to_string(rawDate);
        if (!importedDate(digits)) {
            out.refused.push_back("record " + std::to_string(number) + ": " +
                                  std::to_string(rawDate) + " is not a date; refused");
            continue;
        }
        ImportedDay day;
        day.date = rawDate;
        day.open = u32At(p + 4) / 100.0;
        day.high = u32At(p + 8) / 100.0;
        day.low = u32At(p + 12) / 100.0;
        day.close = u32At(p + 16) / 100.0;
        day.volume = u32At(p + 24) / 100.0;
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
