#include <gtest/gtest.h>
#include <sys/wait.h>

#include "application/AppOptions.h"

#include "RunProgram.h"

using namespace orvane::app;

TEST(AppOptions, ChartModeAndApplicationMode) {
    std::string error;
    auto options = parseAppOptions({"--chart", "a.txt", "b.txt", "--screenshot", "x.png"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->chartFiles, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(options->screenshotPath, "x.png");
    EXPECT_TRUE(options->chartOnly());

    options = parseAppOptions({"--show", "600000"}, error);
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->chartOnly());
    EXPECT_EQ(options->showCode, "600000");

    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--chart"},
                                                  {"--chart", "a.txt", "--screenshot"},
                                                  {"--show", "60000a"},
                                                  {"--crosshair-date", "2024-01-02"}})
        EXPECT_FALSE(parseAppOptions(wrong, error));
    EXPECT_FALSE(parseAppOptions({"--chart", "a.txt", "--bogus"}, error));
    EXPECT_EQ(error, "unknown argument: --bogus");
}

// Run as a user would on a machine without a display.
TEST(AppProgram, HelpAndAMissingChartFileNeedNoDisplay) {
    const std::string app =
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + ORVANE_APP;
    const auto help = orvane::test::runProgram(app + " --help");
    EXPECT_EQ(WEXITSTATUS(help.status), 0);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos) << help.out;
    const auto missing = orvane::test::runProgram(app + " --chart /no/such.txt", true);
    EXPECT_EQ(WEXITSTATUS(missing.status), 1);
    EXPECT_NE(missing.out.find("/no/such.txt: no such file"), std::string::npos) << missing.out;
}
