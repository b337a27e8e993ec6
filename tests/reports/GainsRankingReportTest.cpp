#include "orvane/reports/GainsRankingReport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/PropertyList.h"
#include "orvane/core/Workspace.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/QXStockLib.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

const std::string kTipBox =
    "\r\n****************小技巧***************"
    "\r\n*                                  *"
    "\r\n* 较好的上涨形态：                    *"
    "\r\n* 5日涨幅大于  10% 小于20%,           *"
    "\r\n* 10日涨幅大于 10%,小于 25%           *"
    "\r\n*                                  *"
    "\r\n***********************************\r\n";
const std::string kBuyHeading = "\r\n****************可重点关注买进的个股***************\r\n\r\n";
const std::string kFiveDayHeading = "\r\n--------------沪深5日涨幅统计信息 ------------- \r\n";
const std::string kTenDayHeading = "\r\n--------------沪深10日涨幅统计信息-------------   \r\n";
const std::string kNone = "没有选出符合条件的股票 \r\n";

Value stock(const std::string& code, float gain5, float gain10,
            std::optional<std::string> groups = std::nullopt) {
    Dictionary d{{k::STOCK_Code, code},
                 {k::STOCK_SC_Name, "record name"},
                 {k::KEY_Gain_5Days, gain5},
                 {k::KEY_Gain_10Days, gain10}};
    if (groups) d[k::KEY_Plate_Group] = *groups;
    return Value(std::move(d));
}

std::optional<std::string> tableName(std::string_view code) {
    static const std::map<std::string, std::string, std::less<>> table{
        {"600000", "浦发银行"}, {"000001", "平安银行"}, {"600016", "民生银行"}};
    auto it = table.find(code);
    if (it == table.end()) return std::nullopt;
    return it->second;
}

GainsRankingReport compose(const Array& records, const std::vector<std::string>& groups = {}) {
    return composeGainsRankingReport(records, "2025-09-03", groups, tableName);
}

// The text between two headings (or the end).
std::string between(const std::string& text, const std::string& from, const std::string& to = {}) {
    const auto start = text.find(from);
    if (start == std::string::npos) return "<missing heading>";
    const auto end = to.empty() ? text.size() : text.find(to, start);
    return text.substr(start + from.size(), end - start - from.size());
}
std::string buySection(const std::string& text) {
    return between(text, kBuyHeading, kFiveDayHeading);
}
std::string fiveDaySection(const std::string& text) {
    return between(text, kFiveDayHeading, kTenDayHeading);
}
std::string tenDaySection(const std::string& text) {
    return between(text, kTenDayHeading);
}

std::vector<std::string> codes(const Array& records) {
    std::vector<std::string> out;
    for (const Value& r : records) out.push_back(r.dictionary().at(k::STOCK_Code).string());
    return out;
}

}  // namespace

TEST(GainsRankingReport, EmptyInputKeepsOnlyTheFixedParts) {
    const GainsRankingReport report = compose({}, {"银行"});
    EXPECT_EQ(report.text, "沪深涨幅统计信息   日期：2025-09-03\r\n\r\n" + kTipBox + kBuyHeading +
                               kFiveDayHeading + kTenDayHeading);
    EXPECT_TRUE(report.fiveDaySort.empty());
    EXPECT_TRUE(report.tenDaySort.empty());
    EXPECT_TRUE(report.buy.empty());
}

TEST(GainsRankingReport, SmallReportInFull) {
    // 600000 sits in two groups; 300750 is not in the code table.
    const Array records{stock("000001", 4.0f, 2.5f, "银行"), stock("300750", 1.5f, 5.0f, "NONE"),
                        stock("600000", 8.5f, 12.25f, "银行,地产")};
    const GainsRankingReport report = compose(records, {"地产", "银行"});

    // Groups by member count, ties in the order of the group list with NONE last.
    const std::string expected =
        "沪深涨幅统计信息   日期：2025-09-03\r\n\r\n"
        "0:银行 板块   平安银行(000001),浦发银行(600000)  \r\n"
        "1:地产 板块   浦发银行(600000)  \r\n"
        "2:NONE 板块   (null)(300750)  \r\n" +
        kTipBox + kBuyHeading + "1:浦发银行(600000) 5日 涨幅为 8.50% 10日涨幅12.25%\r\n" +
        kFiveDayHeading +
        "1:浦发银行(600000) 涨幅为 8.50%\r\n"
        "2:平安银行(000001) 涨幅为 4.00%\r\n" +
        kTenDayHeading +
        "1:浦发银行(600000) 涨幅为 12.25%\r\n"
        "2:(null)(300750) 涨幅为 5.00%\r\n";
    EXPECT_EQ(report.text, expected);
    EXPECT_EQ(codes(report.fiveDaySort), (std::vector<std::string>{"600000", "000001", "300750"}));
    EXPECT_EQ(codes(report.tenDaySort), (std::vector<std::string>{"600000", "300750", "000001"}));
    ASSERT_EQ(report.buy.size(), 1u);
    EXPECT_EQ(report.buy[0], records[2]);  // the whole record, as given
}

TEST(GainsRankingReport, GroupCountingRules) {
    Dictionary noCode{{k::KEY_Gain_5Days, 1.0f}, {k::KEY_Plate_Group, "银行"}};
    const Array records{
        stock("600016", 1.0f, 1.0f),               // no group list: counted nowhere
        stock("000001", 1.0f, 1.0f, "未知,银行"),  // an unknown piece is ignored
        stock("600000", 1.0f, 1.0f, "银行,银行"),  // a repeated piece counts twice
        stock("300750", 1.0f, 1.0f, "NONE"),
        Value(std::move(noCode)),
    };
    const std::string text = compose(records, {"证券", "银行"}).text;
    EXPECT_EQ(between(text, "\r\n\r\n", kTipBox),
              "0:银行 板块   平安银行(000001),浦发银行(600000),浦发银行(600000),(null)((null))  "
              "\r\n"
              "1:NONE 板块   (null)(300750)  \r\n");
}

TEST(GainsRankingReport, TopGainOfThreeOrLessSelectsNothing) {
    {
        const std::string text = compose({stock("600000", 3.0f, 3.0f)}).text;
        EXPECT_EQ(buySection(text), kNone);
        EXPECT_EQ(fiveDaySection(text), kNone);
        EXPECT_EQ(tenDaySection(text), kNone);
    }
    {
        const std::string text = compose({stock("600000", 3.01f, 3.01f)}).text;
        EXPECT_EQ(buySection(text), "");
        EXPECT_EQ(fiveDaySection(text), "1:浦发银行(600000) 涨幅为 3.01%\r\n");
        EXPECT_EQ(tenDaySection(text), "1:浦发银行(600000) 涨幅为 3.01%\r\n");
    }
    {
        // Only the first-ranked record can print the notice; later low gains print nothing.
        const std::string text =
            compose({stock("600000", 5.0f, 2.0f), stock("000001", 1.0f, 4.0f)}).text;
        EXPECT_EQ(buySection(text), kNone);  // the 5-day leader's 10-day gain decides
        EXPECT_EQ(fiveDaySection(text), "1:浦发银行(600000) 涨幅为 5.00%\r\n");
        EXPECT_EQ(tenDaySection(text), "1:平安银行(000001) 涨幅为 4.00%\r\n");
    }
}

TEST(GainsRankingReport, BuyWindowIsStrictOnTheWidenedGains) {
    struct Case {
        float gain5, gain10;
        bool bought;
    };
    // The gains are floats: 20.99f and 25.99f lie just below their limits,
    // 7.39f and 10.99f just below theirs.
    const Case cases[] = {{7.39f, 11.0f, false}, {7.40f, 11.0f, true},  {20.99f, 11.0f, true},
                          {21.0f, 11.0f, false}, {8.0f, 10.99f, false}, {8.0f, 11.0f, true},
                          {8.0f, 25.99f, true},  {8.0f, 26.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(format("5-day %.2f, 10-day %.2f", c.gain5, c.gain10));
        const GainsRankingReport report = compose({stock("600000", c.gain5, c.gain10)});
        const std::string line = format("1:浦发银行(600000) 5日 涨幅为 %.2f%% 10日涨幅%.2f%%\r\n",
                                        double{c.gain5}, double{c.gain10});
        EXPECT_EQ(buySection(report.text), c.bought ? line : "");
        EXPECT_EQ(report.buy.size(), c.bought ? 1u : 0u);
    }
}

TEST(GainsRankingReport, RankingsKeepThirtyWhileTheBuyListScansAll) {
    // 45 stocks given out of order: stock i has 5-day gain 50 - i (50 .. 6) and
    // 10-day gain 12 + i/100, so the 10-day ranking runs the other way round.
    Array records;
    for (int n = 0; n < 45; ++n) {
        const int i = (n * 7) % 45;
        records.push_back(stock(format("%06d", 100 + i), 50.0f - i, 12.0f + i / 100.0f));
    }
    const GainsRankingReport report = compose(records);

    ASSERT_EQ(report.fiveDaySort.size(), kGainsRankingLength);
    ASSERT_EQ(report.tenDaySort.size(), kGainsRankingLength);
    EXPECT_EQ(codes(report.fiveDaySort).front(), "000100");
    EXPECT_EQ(codes(report.fiveDaySort).back(), "000129");
    EXPECT_EQ(codes(report.tenDaySort).front(), "000144");
    EXPECT_EQ(codes(report.tenDaySort).back(), "000115");

    // Bought: 5-day gains 20 .. 8, ranked 31st to 43rd, numbered from 1.
    ASSERT_EQ(report.buy.size(), 13u);
    EXPECT_EQ(codes(report.buy).front(), "000130");
    EXPECT_EQ(codes(report.buy).back(), "000142");
    const std::string buy = buySection(report.text);
    EXPECT_EQ(buy.find("1:(null)(000130) 5日 涨幅为 20.00% 10日涨幅12.30%\r\n"), 0u);
    EXPECT_NE(buy.find("13:(null)(000142) 5日 涨幅为 8.00% 10日涨幅12.42%\r\n"), std::string::npos);

    const std::string five = fiveDaySection(report.text);
    EXPECT_EQ(five.find("1:(null)(000100) 涨幅为 50.00%\r\n"), 0u);
    EXPECT_NE(five.find("30:(null)(000129) 涨幅为 21.00%\r\n"), std::string::npos);
    EXPECT_EQ(five.find("31:"), std::string::npos);
    const std::string ten = tenDaySection(report.text);
    EXPECT_EQ(ten.find("1:(null)(000144) 涨幅为 12.44%\r\n"), 0u);
    EXPECT_NE(ten.find("30:(null)(000115) 涨幅为 12.15%\r\n"), std::string::npos);
    EXPECT_EQ(ten.find("31:"), std::string::npos);
}

TEST(GainsRankingReport, EqualGainsKeepTheirOrder) {
    // Equal 5-day gains keep the input order; equal 10-day gains keep the
    // 5-day order, not the input order.
    const Array records{stock("600000", 5.0f, 8.0f), stock("000001", 5.0f, 8.0f),
                        stock("600016", 6.0f, 8.0f)};
    const GainsRankingReport report = compose(records);
    EXPECT_EQ(codes(report.fiveDaySort), (std::vector<std::string>{"600016", "600000", "000001"}));
    EXPECT_EQ(codes(report.tenDaySort), (std::vector<std::string>{"600016", "600000", "000001"}));
}

namespace {

class RecordingDelegate : public QXStockLibUpdateDelegate {
  public:
    void processUISeletedStockDelegate(const Array& list) override { lists.push_back(list); }
    std::vector<Array> lists;
};

class RecordingWorkspace : public Workspace {
  public:
    bool openFile(const std::filesystem::path& path) override {
        opened.push_back(path);
        return true;
    }
    bool openURL(const std::string&) override { return false; }
    std::vector<std::filesystem::path> opened;
};

}  // namespace

TEST(GainsRankingReport, TodaysReportIsWrittenHandedOverAndOpened) {
    test::TempDataDir dir;
    test::FixedNow now(2025, 9, 3, 15, 30);
    std::filesystem::create_directories(dir.path() / "constdata/plate");
    std::ofstream(dir.path() / "constdata/plate/银行.txt") << "600000\n";
    const auto gains = dir.path() / "Gains";
    std::filesystem::create_directories(gains);
    ASSERT_TRUE(writeFileAtomically(gains / "2025-09-03.txt", "yesterday's report"));

    auto workspace = std::make_shared<RecordingWorkspace>();
    Workspace::install(workspace);
    RecordingDelegate delegate;
    QXStockLib lib;
    lib.setDelegate(&delegate);
    const Array records{stock("600000", 8.5f, 12.25f, "银行"), stock("000001", 4.0f, 2.5f, "地产")};
    const std::filesystem::path path = sortHuShenGainsForText(lib, records);
    Workspace::install(nullptr);

    EXPECT_EQ(path, gains / "2025-09-03.txt");
    EXPECT_EQ(workspace->opened, std::vector<std::filesystem::path>{path});
    ASSERT_EQ(delegate.lists.size(), 1u);
    EXPECT_EQ(delegate.lists[0], Array{records[0]});

    EXPECT_EQ(readPropertyList(gains / "2025-09-03_5GainsSort.plist"),
              Value(Array{records[0], records[1]}));
    EXPECT_EQ(readPropertyList(gains / "2025-09-03_10GainsSort.plist"),
              Value(Array{records[0], records[1]}));
    EXPECT_EQ(readPropertyList(gains / "2025-09-03_buy.plist"), Value(Array{records[0]}));
    // The shared code table keeps the names it read first, so only the parts
    // without names are checked here.
    const std::string text = readFile(path).value_or("");
    EXPECT_EQ(text.rfind("沪深涨幅统计信息   日期：2025-09-03\r\n\r\n0:银行 板块   ", 0), 0u);
    EXPECT_NE(text.find("(600000)  \r\n" + kTipBox), std::string::npos);
    EXPECT_NE(text.find(kTenDayHeading), std::string::npos);
}
