#include "orvane/reports/GainsRankingReport.h"

#include <gtest/gtest.h>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/NumberText.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

const std::string kNone = "没有选出符合条件的股票 \r\n";

using Records = std::vector<StockRecord>;

StockRecord stock(const std::string& code, float gain5, float gain10,
                  std::optional<std::string> groups = std::nullopt) {
    StockRecord r;
    r.code = code;
    r.name = "record name";
    r.gain5 = gain5;
    r.gain10 = gain10;
    r.plateGroup = std::move(groups);
    return r;
}

std::optional<std::string> tableName(std::string_view code) {
    for (auto [c, name] :
         {std::pair{"600000", "浦发银行"}, {"000001", "平安银行"}, {"600016", "民生银行"}})
        if (code == c) return name;
    return std::nullopt;
}

GainsRankingReport compose(const Records& records, const std::vector<std::string>& groups = {}) {
    return composeGainsRankingReport(records, "2025-09-03", groups, tableName);
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(GainsRankingReport, SmallReportInFull) {
    // 600000 sits in two groups; 300750 is not in the code table.
    const Records records{stock("000001", 4.0f, 2.5f, "银行"), stock("300750", 1.5f, 5.0f, "NONE"),
                          stock("600000", 8.5f, 12.25f, "银行,地产")};
    const GainsRankingReport report = compose(records, {"地产", "银行"});

    // Groups by member count, ties in the order of the group list with NONE last.
    EXPECT_EQ(report.text, *readFile(REPORTS_FIXTURES "/SmallGainsRankingReport.txt"));
    EXPECT_EQ(report.fiveDaySort, (Records{records[2], records[0], records[1]}));
    EXPECT_EQ(report.tenDaySort, (Records{records[2], records[1], records[0]}));
    EXPECT_EQ(report.buy, Records{records[2]});  // the whole record, as given
}

TEST(GainsRankingReport, GroupCountingRules) {
    const Records records{
        stock("600016", 1.0f, 1.0f),               // no group list: counted nowhere
        stock("000001", 1.0f, 1.0f, "未知,银行"),  // an unknown piece is ignored
        stock("600000", 1.0f, 1.0f, "银行,银行"),  // a repeated piece counts twice
        stock("300750", 1.0f, 1.0f, "NONE"),
        stock("", 1.0f, 0.0f, "银行"),  // no code: "(null)" for both
    };
    const std::string text = compose(records, {"证券", "银行"}).text;
    EXPECT_NE(text.find("\r\n\r\n0:银行 板块   平安银行(000001),浦发银行(600000),浦发银行(600000),"
                        "(null)((null))  \r\n1:NONE 板块   (null)(300750)  \r\n\r\n***"),
              std::string::npos);
}

TEST(GainsRankingReport, SelectionLimits) {
    // Beside a stock of gains 1 and 4: a top gain of 3 or less selects nothing
    // and says so, and only the leader can say so. The buy window is strict on
    // the widened gains: 20.99f, 25.99f, 7.39f and 10.99f lie just below their limits.
    const struct {
        float g5, g10;
        std::size_t nones, lines, bought;
    } cases[] = {{3.0f, 3.0f, 2, 1, 0},   {3.01f, 3.01f, 0, 2, 0}, {5.0f, 2.0f, 1, 2, 0},
                 {7.39f, 11.0f, 0, 2, 0}, {7.40f, 11.0f, 0, 3, 1}, {20.99f, 11.0f, 0, 3, 1},
                 {21.0f, 11.0f, 0, 2, 0}, {8.0f, 10.99f, 0, 2, 0}, {8.0f, 25.99f, 0, 3, 1},
                 {8.0f, 26.0f, 0, 2, 0}};
    for (const auto& c : cases) {
        const GainsRankingReport report =
            compose({stock("600000", c.g5, c.g10), stock("000001", 1, 4)});
        EXPECT_EQ(count(report.text, kNone), c.nones) << c.g5 << " " << c.g10;
        EXPECT_EQ(count(report.text, "1:"), c.lines) << c.g5 << " " << c.g10;
        EXPECT_EQ(report.buy.size(), c.bought) << c.g5 << " " << c.g10;
    }
}

TEST(GainsRankingReport, RankingsKeepThirtyWhileTheBuyListScansAll) {
    // Stock i has 5-day gain 50 - i and 10-day gain 12 + i/100: the 10-day
    // ranking runs the other way round; 5-day gains 20 .. 8 (ranked 31st to 43rd) are bought.
    Records records;
    for (int i = 0; i < 45; ++i)
        records.push_back(stock(format("%06d", 100 + i), 50.0f - i, 12.0f + i / 100.0f));
    const GainsRankingReport report = compose(records);
    EXPECT_EQ(report.fiveDaySort.back(), records[29]);
    EXPECT_EQ(report.tenDaySort.back(), records[15]);
    EXPECT_EQ(report.buy.size(), 13u);
    EXPECT_EQ(count(report.text, "\n13:(null)(000142) 5日 涨幅为 8.00%"), 1u);
    EXPECT_TRUE(report.text.ends_with("\n30:(null)(000115) 涨幅为 12.15%\r\n"));
}

TEST(GainsRankingReport, EqualGainsKeepTheirOrder) {
    // Equal 10-day gains keep the 5-day order, not the input order.
    const Records records{stock("600000", 5.0f, 8.0f), stock("000001", 5.0f, 8.0f),
                          stock("600016", 6.0f, 8.0f)};
    const Records expected{records[2], records[0], records[1]};
    EXPECT_EQ(compose(records).fiveDaySort, expected);
    EXPECT_EQ(compose(records).tenDaySort, expected);
}
