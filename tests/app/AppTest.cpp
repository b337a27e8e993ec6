#include <gtest/gtest.h>

#include "AppOptions.h"

using namespace orvane::app;

TEST(AppOptions, ChartFilesAndScreenshotOptions) {
    std::string error;
    auto options = parseAppOptions({"--chart", "a.txt", "b.txt", "--screenshot", "x.png"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->chartFiles, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(options->screenshotPath, "x.png");
    EXPECT_TRUE(options->crosshairDate.empty());

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{}, {"--chart"}, {"--chart", "a.txt", "--screenshot"}})
        EXPECT_FALSE(parseAppOptions(wrong, error));
    EXPECT_FALSE(parseAppOptions({"--chart", "a.txt", "--bogus"}, error));
    EXPECT_EQ(error, "unknown argument: --bogus");
}
