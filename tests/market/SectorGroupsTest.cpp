#include "orvane/market/SectorGroups.h"

#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"

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
};

}  // namespace

TEST_F(SectorGroupsTest, MembershipNeedsAWholeLineAndASixCharacterCode) {
    group("银行.txt", "600000\n600016\n60001\n");
    group("上证50.txt", "600000\r\n600519\n");
    group("白酒.txt", "600000 \n600519\n");  // trailing blank: no match
    group(".hidden.txt", "600000\n");
    SectorGroups groups(plate, composit);
    // Walk order is the collation order of the names: 白酒 (bai), 上证50 (shang), 银行 (yin).
    EXPECT_EQ(groups.getStockPlateProtity("600000"), "600000 属于板块:上证50,银行");
    EXPECT_EQ(groups.getMyPlateProprityFormCode("600000"), "上证50,银行");
    EXPECT_EQ(groups.getMyPlateProprityFormCode("60001"), "NONE");
    EXPECT_EQ(groups.getStockPlateProtity("000001"), "000001 属于板块:没有找到分类");
    EXPECT_EQ(groups.getMyPlateProprityFormCode("600519"), "白酒,上证50");
}

TEST_F(SectorGroupsTest, GroupNamesSortInPinyinOrderIgnoringCase) {
    for (auto name : {"银行.txt", "abc.txt", "白酒.txt", "ABC.txt", "sub/钢铁.txt", ".DS_Store"})
        group(name, "");
    SectorGroups groups(plate, composit);
    auto names = groups.getPlateGroupNameArray();
    // Han names in pinyin order come first in the "zh" order, then Latin
    // names, with letter case ignored (equal names keep their walk order).
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(names[0], "白酒");
    EXPECT_EQ(names[1], "银行");
    EXPECT_TRUE((names[2] == "abc" && names[3] == "ABC") ||
                (names[2] == "ABC" && names[3] == "abc"));
    EXPECT_EQ(names[4], "sub/钢铁");
}

TEST_F(SectorGroupsTest, GroupSizeCountsValidCodesAndStaysInsideTheFolder) {
    group("银行.txt",
          "代码\n600000\n600016\n601988\n601398\n601288\n601939\n601328\n600036\n601166\n");
    ASSERT_TRUE(writeFileAtomically(dir.path() / "constdata" / "secret.txt", "600000\n"));
    SectorGroups groups(plate, composit);
    EXPECT_EQ(groups.getPlantGroupNum("银行"), 9);
    EXPECT_EQ(groups.getPlantGroupNum("没有"), 0);
    EXPECT_EQ(groups.getPlantGroupNum("../secret"), 0);
}

TEST_F(SectorGroupsTest, CacheIsKeptUntilInvalidatedAndMissingFoldersAreEmpty) {
    SectorGroups groups(plate, composit);
    EXPECT_TRUE(groups.getPlateGroupNameArray().empty());
    EXPECT_EQ(groups.getMyPlateProprityFormCode("600000"), "NONE");
    group("银行.txt", "600000\n");
    EXPECT_EQ(groups.getMyPlateProprityFormCode("600000"), "NONE");
    groups.invalidate();
    EXPECT_EQ(groups.getMyPlateProprityFormCode("600000"), "银行");
}

TEST_F(SectorGroupsTest, CompositeCodesAreTheFirstSixCharactersInNameOrder) {
    std::filesystem::create_directories(composit);
    for (auto name : {"399006创业板.txt", "399001.txt", ".hidden399", "3990"})
        ASSERT_TRUE(writeFileAtomically(composit / name, ""));
    SectorGroups groups(plate, composit);
    EXPECT_EQ(groups.compositeCodes(), (std::vector<std::string>{"399001", "399006"}));
    EXPECT_TRUE(isInComposit("399001", groups.compositeCodes()));
    EXPECT_FALSE(isInComposit("39900", groups.compositeCodes()));
}
