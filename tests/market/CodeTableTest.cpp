#include "orvane/market/CodeTable.h"

#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

using Codes = std::vector<std::string>;

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
const Codes kTableCodes{"600000", "000012", "300750", "600016", "000001", "601988", "601998"};

Codes codesOf(const Array& entries) {
    Codes out;
    for (const auto& e : entries) out.push_back(e.dictionary().at(k::STOCK_Code).string());
    return out;
}

class CodeTableTest : public ::testing::Test {
  protected:
    void SetUp() override { write(kTable); }
    void write(const std::string& utf8) {
        ASSERT_TRUE(writeFileAtomically(file, *utf8ToUtf16(utf8)));
    }

    test::TempDataDir dir;
    std::filesystem::path file = dir.path() / "code.txt";
    CodeTable table{file};
};

}  // namespace

TEST(CodeTableBytes, ByteOrderMarkChoosesTheOrderAndNoMarkMeansBigEndian) {
    const std::string le = *utf8ToUtf16(kTable, true), be = *utf8ToUtf16(kTable, false);
    for (const std::string& bytes : {le, be, be.substr(2)}) {  // FF FE, FE FF, no mark
        const auto entries = parseCodeTable(bytes);
        ASSERT_EQ(entries.size(), 7u);
        EXPECT_EQ(entries[0].name, "浦发银行");
    }
    EXPECT_TRUE(parseCodeTable(std::string("\xFF\xFE\x00", 3)).empty());  // odd byte count
}

TEST_F(CodeTableTest, EntriesFollowTheLineAndFieldRules) {
    const auto entries = table.getAllStockTradeData();
    EXPECT_EQ(codesOf(entries), kTableCodes);
    EXPECT_EQ(entries[0].dictionary().at(k::STOCK_pinyin).string(), "PFYH");
    // A format character (ZERO WIDTH NON-JOINER) separates fields as well.
    write("600000\xE2\x80\x8C浦发银行\tPFYH\n");
    EXPECT_EQ(table.getAllStockTradeData().size(), 1u);
    std::filesystem::remove(file);
    EXPECT_TRUE(table.getAllStockTradeData().empty());
}

TEST_F(CodeTableTest, CandidateSearchChoosesTheFieldByTheFirstCharacter) {
    const std::pair<const char*, Codes> cases[] = {
        {"600", {}},  // codes from 4 characters, pinyin and names from 2
        {"6000", {"600000", "600016"}},
        {"0000", {"600000", "000012", "000001"}},
        {"P", {}},
        {"PF", {"600000"}},
        {"pa", {"000001"}},  // as typed: no case folding
        {"银", {}},
        {"银行", {"600000", "600016", "000001", "601988", "601998"}},
        {"", {}},
    };
    for (const auto& [key, codes] : cases)
        EXPECT_EQ(codesOf(table.searchStockSubKey(key)), codes) << key;
}

TEST(SearchKey, TypedKeysAreNormalisedExactOnesKept) {
    const std::pair<const char*, const char*> keys[] = {
        {" yh ", "YH"},
        {"sh600000", "600000"},
        {"SZ000002", "000002"},
        {"000002.SZ", "000002"},
        {"600000.sh", "600000"},
        {"6000", "6000"},
        {"PF", "PF"},
        {"银行", "银行"},
        {"sh60000a", "sh60000a"},
        {"x600000", "x600000"},
        {"", ""},
    };
    for (const auto& [typed, key] : keys) EXPECT_EQ(normaliseSearchKey(typed), key) << typed;
}

TEST_F(CodeTableTest, NameLookupsUseTheIntegerValueOfTheCodeAndKeepTheFirstRead) {
    EXPECT_EQ(table.getStockCodeName("12"), "南玻Ａ");
    EXPECT_FALSE(table.getStockCodeName("600001"));
    EXPECT_EQ(table.BinarySearchByCode("000001"), 0u);
    EXPECT_EQ(table.getStockCodeFromName("中国银行"), "601998");  // the later line wins
    EXPECT_FALSE(table.getStockCodeFromName("不存在"));
    // The name table is never refreshed; code-from-name reads the file afresh.
    write("600000\t新名字\tXMZ\n");
    EXPECT_EQ(table.getStockCodeName("600000"), "浦发银行");
    EXPECT_EQ(table.getStockCodeFromName("新名字"), "600000");

    // A table read before the reference data arrived is read again.
    CodeTable early{dir.path() / "later.txt"};
    EXPECT_FALSE(early.getStockCodeName("600000"));
    ASSERT_TRUE(writeFileAtomically(early.file(), *utf8ToUtf16(kTable)));
    EXPECT_EQ(early.getStockCodeName("600000"), "浦发银行");
}
