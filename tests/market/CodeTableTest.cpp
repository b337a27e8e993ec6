#include "orvane/market/CodeTable.h"

#include <gtest/gtest.h>

#include <thread>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

class CodeTableTest : public ::testing::Test {
  protected:
    void write(const std::string& utf8, bool littleEndian = true) {
        ASSERT_TRUE(writeFileAtomically(file, *utf8ToUtf16(utf8, littleEndian)));
    }
    std::vector<std::string> codes(const Array& entries) {
        std::vector<std::string> out;
        for (const auto& e : entries) out.push_back(e.dictionary().at(k::STOCK_Code).string());
        return out;
    }

    test::TempDataDir dir;
    std::filesystem::path file = dir.path() / "code.txt";
    const std::string kTable =
        "600000\t浦发银行\tPFYH\r\n"  // CR LF leaves an empty line between entries
        "000012\t南玻Ａ\tNBA\n"
        "60000\t五位代码\tWWDM\n"  // 5-digit code: skipped
        "600036\t招商银行\n"       // two fields: skipped
        "300750\t宁德时代\tNDSD\x0B"
        "600016\t民生银行\tMSYH\xE2\x80\xA8"  // LINE SEPARATOR
        "000001\t平安银行\tpayh\n"
        "601988\t中国银行\tZGYH\n"
        "601998\t中国银行\tZXYH\n";
};

}  // namespace

TEST_F(CodeTableTest, EntriesFollowTheLineAndFieldRules) {
    write(kTable);
    const auto entries = CodeTable(file).getAllStockTradeData();
    EXPECT_EQ(codes(entries), (std::vector<std::string>{"600000", "000012", "300750", "600016",
                                                        "000001", "601988", "601998"}));
    EXPECT_EQ(entries[0].dictionary().at(k::STOCK_SC_Name).string(), "浦发银行");
    EXPECT_EQ(entries[0].dictionary().at(k::STOCK_pinyin).string(), "PFYH");
    // A format character (ZERO WIDTH NON-JOINER) separates fields as well.
    write("600000\xE2\x80\x8C浦发银行\tPFYH\n");
    EXPECT_EQ(CodeTable(file).getAllStockTradeData().size(), 1u);
    // Without a byte-order mark the table is big-endian.
    auto be = *utf8ToUtf16(kTable, false);
    ASSERT_TRUE(writeFileAtomically(file, be.substr(2)));
    EXPECT_EQ(CodeTable(file).getAllStockTradeData().size(), 7u);
}

TEST_F(CodeTableTest, CandidateSearchChoosesTheFieldByTheFirstCharacter) {
    write(kTable);
    CodeTable table(file);
    EXPECT_TRUE(table.searchStockSubKey("600").empty());
    EXPECT_EQ(codes(table.searchStockSubKey("6000")),
              (std::vector<std::string>{"600000", "600016"}));
    EXPECT_EQ(codes(table.searchStockSubKey("0000")),
              (std::vector<std::string>{"600000", "000012", "000001"}));
    EXPECT_TRUE(table.searchStockSubKey("P").empty());
    EXPECT_EQ(codes(table.searchStockSubKey("PF")), (std::vector<std::string>{"600000"}));
    EXPECT_EQ(codes(table.searchStockSubKey("pa")), (std::vector<std::string>{"000001"}));
    EXPECT_TRUE(table.searchStockSubKey("银").empty());
    EXPECT_EQ(codes(table.searchStockSubKey("银行")),
              (std::vector<std::string>{"600000", "600016", "000001", "601988", "601998"}));
    EXPECT_TRUE(table.searchStockSubKey("").empty());
}

TEST_F(CodeTableTest, NameLookupsUseTheIntegerValueOfTheCode) {
    write(kTable);
    CodeTable table(file);
    EXPECT_EQ(table.getStockCodeName("000012"), "南玻Ａ");
    EXPECT_EQ(table.getStockCodeName("12"), "南玻Ａ");
    EXPECT_FALSE(table.getStockCodeName("999999"));
    EXPECT_FALSE(table.getStockCodeName("000000"));
    EXPECT_FALSE(table.getStockCodeName("600001"));
    EXPECT_EQ(table.BinarySearchByCode("000001"), 0u);
    EXPECT_EQ(table.getStockCodeFromName("中国银行"), "601998");  // the later line wins
    EXPECT_FALSE(table.getStockCodeFromName("不存在"));
}

TEST_F(CodeTableTest, NameTableIsBuiltOnceEvenWhenThreadsRaceAndNeverRefreshed) {
    write(kTable);
    CodeTable table(file);
    std::vector<std::thread> threads;
    std::atomic<int> found{0};
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&] {
            if (table.getStockCodeName("600000") == "浦发银行") ++found;
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(found, 8);
    write("600000\t新名字\tXMZ\n");
    EXPECT_EQ(table.getStockCodeName("600000"), "浦发银行");
    EXPECT_EQ(table.getStockCodeFromName("新名字"), "600000");  // read afresh
}

TEST_F(CodeTableTest, MissingOrBrokenFileReadsAsEmpty) {
    CodeTable table(file);
    EXPECT_TRUE(table.getAllStockTradeData().empty());
    EXPECT_FALSE(table.getStockCodeName("600000"));
    ASSERT_TRUE(writeFileAtomically(file, "\xFF\xFE\x00"));
    EXPECT_TRUE(CodeTable(file).getAllStockTradeData().empty());
}
