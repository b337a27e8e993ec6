#include "orvane/market/SectorGroups.h"

#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/TextSplit.h"

using namespace orvane;

namespace {

class SectorGroupsTest : public ::testing::Test {
  protected:
    void group(const std::string& relative, const std::string& body) {
        auto path = plate / relative;
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(writeFileAtomically(path, body));
    }

    test::TempDataDir dir;
    std::filesystem::path plate = dir.path() / "constdata" / "plate";
    std::filesystem::path composit = dir.path() / "constdata" / "composit";
    SectorGroups groups{plate, composit};
};

}  // namespace

TEST_F(SectorGroupsTest, MembershipNeedsAWholeLineAndASixCharacterCode) {
    group("银行.txt", "600000\n600016\n60001\n");
    group("上证50.txt", "600000\r\n600519\n");
    group("白酒.txt", "600000 \n600519\n");  // trailing blank: no match
    group(".hidden.txt", "600000\n");
    // Walk order is the collation order of the names: 白酒 (bai), 上证50 (shang), 银行 (yin).
    EXPECT_EQ(groups.getStockPlateProtity("600000"), "600000 属于板块:上证50,银行");
    EXPECT_EQ(groups.getMyPlateProprityFormCode("60001"), "NONE");
    EXPECT_EQ(groups.getStockPlateProtity("000001"), "000001 属于板块:没有找到分类");
    EXPECT_EQ(groups.getMyPlateProprityFormCode("600519"), "白酒,上证50");
}

TEST_F(SectorGroupsTest, GroupNamesSortInPinyinOrderIgnoringCase) {
    for (auto name : {"银行.txt", "abc.txt", "白酒.txt", "ABC.txt", "sub/钢铁.txt", ".DS_Store"})
        group(name, "");
    auto names = groups.getPlateGroupNameArray();
    // Han names in pinyin order first, then Latin names with letter case ignored.
    ASSERT_EQ(names.size(), 5u);
    if (names[2] == "ABC") std::swap(names[2], names[3]);  // equal names keep their walk order
    EXPECT_EQ(names, (std::vector<std::string>{"白酒", "银行", "abc", "ABC", "sub/钢铁"}));
}

TEST_F(SectorGroupsTest, GroupSizeCountsValidCodesAndStaysInsideTheFolder) {
    group("银行.txt", "代码\n600000\n600016\n601988\n");
    ASSERT_TRUE(writeFileAtomically(dir.path() / "constdata" / "secret.txt", "600000\n"));
    EXPECT_EQ(groups.getPlantGroupNum("银行"), 3);
    EXPECT_EQ(groups.getPlantGroupNum("没有"), 0);
    EXPECT_EQ(groups.getPlantGroupNum("../secret"), 0);
}

TEST_F(SectorGroupsTest, CacheIsKeptUntilInvalidatedAndMissingFoldersAreEmpty) {
    EXPECT_TRUE(groups.getPlateGroupNameArray().empty());
    group("银行.txt", "600000\n");
    EXPECT_EQ(groups.getMyPlateProprityFormCode("600000"), "NONE");
    groups.invalidate();
    EXPECT_EQ(groups.getMyPlateProprityFormCode("600000"), "银行");
}

TEST_F(SectorGroupsTest, CompositeCodesAreTheFirstSixUtf16UnitsInNameOrder) {
    std::filesystem::create_directories(composit);
    for (auto name : {"399006创业板.txt", "399001.txt", ".hidden399", "3990"})
        ASSERT_TRUE(writeFileAtomically(composit / name, ""));
    EXPECT_EQ(groups.compositeCodes(), (std::vector<std::string>{"399001", "399006"}));
    EXPECT_TRUE(isInComposit("399001", groups.compositeCodes()));
    EXPECT_FALSE(isInComposit("39900", groups.compositeCodes()));

    // Characters count in UTF-16 units, one outside the BMP two, as everywhere
    // in the program; a name whose sixth unit would cut one in half has no code.
    std::filesystem::remove_all(composit);
    std::filesystem::create_directories(composit);
    groups.invalidate();
    for (auto name : {"\U0001F600"
                      "1234567",
                      "12345\U0001F600",
                      "\xff\xfe"
                      "1234567"})
        ASSERT_TRUE(writeFileAtomically(composit / name, ""));
    for (const std::string& code : groups.compositeCodes())
        EXPECT_EQ(utf16Length(code), 6u) << code;
    EXPECT_EQ(groups.compositeCodes(), (std::vector<std::string>{"\U0001F600"
                                                                 "1234",
                                                                 "\xff\xfe"
                                                                 "12"}));
}
