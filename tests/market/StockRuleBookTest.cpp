#include "orvane/market/StockRuleBook.h"

#include <gtest/gtest.h>

#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"

using namespace orvane;

namespace {

class StockRuleBookTest : public ::testing::Test {
  protected:
    test::TempDataDir dir;
    std::filesystem::path file = dir.path() / "StockRules.plist";
};

}  // namespace

TEST_F(StockRuleBookTest, KeepsRulesByNameInTheirOrderWithTheAlertMark) {
    const std::vector<NamedRule> rules{{"突破", "trend = 1001 and not st", true},
                                       {"broken", "score >=", false}};
    ASSERT_FALSE(writeRuleBook(rules, file));
    const RuleBookRead read = readRuleBook(file);
    EXPECT_EQ(read.rules, rules);
    EXPECT_TRUE(read.note.empty());

    // By name from the book, else as a text; a one-word text that is no rule
    // says that no rule has that name.
    const auto named = chooseRule("突破", read.rules);
    ASSERT_TRUE(std::holds_alternative<ChosenRule>(named));
    EXPECT_EQ(std::get<ChosenRule>(named).rule.conditions.size(), 2u);
    EXPECT_TRUE(std::holds_alternative<ChosenRule>(chooseRule("score >= 90", read.rules)));
    const auto unknown = chooseRule("breakout", read.rules);
    ASSERT_TRUE(std::holds_alternative<std::string>(unknown));
    EXPECT_NE(std::get<std::string>(unknown).find("no rule named \"breakout\""), std::string::npos);
    const auto broken = chooseRule("broken", read.rules);
    ASSERT_TRUE(std::holds_alternative<std::string>(broken));
    EXPECT_NE(std::get<std::string>(broken).find("column 9"), std::string::npos);
}

TEST_F(StockRuleBookTest, SetsAnUnusableFileAsideWithANote) {
    EXPECT_TRUE(readRuleBook(file).rules.empty());  // absent: no rules, no note
    for (std::string_view bytes :
         {std::string_view("not a property list"),
          std::string_view("<plist><array><dict><key>name</key><string>x</string></dict></array>"
                           "</plist>")}) {
        ASSERT_TRUE(writeFileAtomically(file, bytes));
        const RuleBookRead read = readRuleBook(file);
        EXPECT_TRUE(read.rules.empty());
        ASSERT_TRUE(read.setAside) << bytes;
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_EQ(readFile(*read.setAside), std::string(bytes));
        EXPECT_NE(read.note.find(read.setAside->filename().string()), std::string::npos);
    }
}
