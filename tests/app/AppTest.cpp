#include <gtest/gtest.h>

#include <fstream>

#include "AppOptions.h"
#include "CodeTableNames.h"
#include "TempDataDir.h"

using namespace orvane::app;

namespace {

// UTF-16 little-endian with a byte-order mark, as the code table is stored.
std::string utf16(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

}  // namespace

TEST(AppOptions, ChartFilesAndScreenshotOptions) {
    std::string error;
    auto options = parseAppOptions({"--chart", "a.txt", "b.txt", "--screenshot", "x.png"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->chartFiles, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(options->screenshotPath, "x.png");
    EXPECT_TRUE(options->crosshairDate.empty());

    EXPECT_FALSE(parseAppOptions({}, error));
    EXPECT_FALSE(parseAppOptions({"--chart"}, error));
    EXPECT_FALSE(parseAppOptions({"--chart", "a.txt", "--screenshot"}, error));
    EXPECT_FALSE(parseAppOptions({"--chart", "a.txt", "--bogus"}, error));
    EXPECT_EQ(error, "unknown argument: --bogus");
}

TEST(CodeTableNames, ReadsEntriesOfTheUtf16Table) {
    const auto table = CodeTableNames::fromUtf16(utf16(
        u"600000\t浦发银行\tPFYH\r\n000002\t万 科Ａ\tWKA\n12345\t短代码\tDDM\n000003\t两栏\n"));
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table.nameOf("600000"), "浦发银行");
    EXPECT_EQ(table.nameOf("000002"), "万 科Ａ");
    EXPECT_EQ(table.nameOf("2"), "万 科Ａ");  // codes compare by their value
    EXPECT_EQ(table.nameOf("000003"), "");    // fewer than three fields
    EXPECT_EQ(table.nameOf("012345"), "");    // the code was not six characters

    orvane::test::TempDataDir dir;
    EXPECT_EQ(CodeTableNames::fromDataDirectory().size(), 0u);  // no table: no names
}
