// The desktop terminals' day files against records made by hand: prices in
// 1/100 yuan come out in yuan, volumes in shares as lots, a record whose
// date is none and a cut last record are named, and only shares' files are
// taken for days.

#include "orvane/market/DayFile.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace orvane;

namespace {

std::string record(std::uint32_t date, std::uint32_t open, std::uint32_t high, std::uint32_t low,
                   std::uint32_t close, float amount, std::uint32_t volume) {
    std::string r(kDayRecordSize, '\0');
    const std::uint32_t fields[] = {date, open, high, low, close};
    std::memcpy(r.data(), fields, sizeof fields);
    std::memcpy(r.data() + 20, &amount, 4);
    std::memcpy(r.data() + 24, &volume, 4);
    std::memcpy(r.data() + 28, "\x7f\x7f\x7f\x7f", 4);  // whatever the reserved field holds
    return r;
}

}  // namespace

TEST(DayFile, RecordsAreScaledToYuanAndLots) {
    const std::string bytes = record(20250902, 1415, 1462, 1374, 1456, 1.6e9f, 116925933) +
                              record(20250903, 1, 4294967295u, 1, 99, 0.0f, 4294967295u);
    const DayFileRead read = readDayFile(bytes, 7);
    ASSERT_EQ(read.days.size(), 2u);
    EXPECT_TRUE(read.refused.empty());
    const DailyBar a = read.days[0].bar();
    EXPECT_EQ(a.date, "2025-09-02");
    EXPECT_EQ(a.open, 14.15);
    EXPECT_EQ(a.high, 14.62);
    EXPECT_EQ(a.low, 13.74);
    EXPECT_EQ(a.close, 14.56);
    EXPECT_EQ(a.volume, 1169259.33);  // shares / 100, the history's lots
    EXPECT_EQ(read.days[0].file, 7u);
    EXPECT_EQ(read.days[0].line, 1u);
    // The largest fields are read unsigned, never as negative numbers.
    const DailyBar b = read.days[1].bar();
    EXPECT_EQ(b.date, "2025-09-03");
    EXPECT_EQ(b.open, 0.01);
    EXPECT_EQ(b.high, 42949672.95);
    EXPECT_EQ(b.volume, 42949672.95);
    EXPECT_EQ(read.days[1].line, 2u);
}

TEST(DayFile, ARecordWithoutADateAndACutRecordAreNamed) {
    const std::string good = record(20250902, 1000, 1100, 900, 1050, 0, 100);
    const DayFileRead read = readDayFile(record(20250230, 1000, 1100, 900, 1050, 0, 100) + good +
                                         record(0, 1, 1, 1, 1, 0, 1) + good.substr(0, 12));
    ASSERT_EQ(read.days.size(), 1u);
    EXPECT_EQ(read.days[0].line, 2u);
    ASSERT_EQ(read.refused.size(), 3u);
    EXPECT_EQ(read.refused[0], "record 1: 20250230 is not a date; refused");
    EXPECT_EQ(read.refused[1], "record 3: 0 is not a date; refused");
    EXPECT_EQ(read.refused[2], "the last 12 bytes are no whole record of 32; left out");
    EXPECT_TRUE(readDayFile("").days.empty());
}

TEST(DayFile, OnlySharesFilesAreDays) {
    const struct {
        const char* name;
        bool named;
        SecurityKind kind;
    } cases[] = {
        {"sh600000.day", true, SecurityKind::Share},   {"sz000001.day", true, SecurityKind::Share},
        {"sz300750.day", true, SecurityKind::Share},   {"sh688981.day", true, SecurityKind::Share},
        {"sh000001.day", true, SecurityKind::Other},  // the Shanghai index, not 平安银行
        {"sz399001.day", true, SecurityKind::Other},   {"sz159915.day", true, SecurityKind::Other},
        {"sh510050.day", true, SecurityKind::Other},   {"sz200002.day", true, SecurityKind::Other},
        {"sh900901.day", true, SecurityKind::Other},   {"sz600000.day", true, SecurityKind::Other},
        {"bj830799.day", true, SecurityKind::Beijing}, {"600000.day", false, SecurityKind::Other},
        {"sh600000.txt", false, SecurityKind::Other},  {"SH600000.day", true, SecurityKind::Share},
    };
    for (const auto& c : cases) {
        const auto code = dayFileCode(c.name);
        ASSERT_EQ(code.has_value(), c.named) << c.name;
        if (code) {
            EXPECT_EQ(securityKindOf(*code), c.kind) << c.name;
        }
    }
    EXPECT_EQ(dayFileCode("sz000001.day")->code, "000001");
}
