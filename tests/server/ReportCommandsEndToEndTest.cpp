// The report commands of the command line against the data server serving a
// small published demo market.

#include <gtest/gtest.h>

#include <regex>

#include "RunProgram.h"
#include "ServerFixture.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/Clock.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/GainList.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

std::size_t listedStocks(const fs::path& sortdata, const char* sh, const char* sz,
                         std::int32_t direction) {
    std::size_t n = 0;
    for (const char* name : {sh, sz})
        n += parseGainList(downloadedText(*readFile(sortdata / name)), direction).size();
    return n;
}

// The group with the most members in the installed reference data.
std::pair<std::string, std::vector<std::string>> largestGroup(const fs::path& plate) {
    std::pair<std::string, std::vector<std::string>> best;
    for (const auto& entry : fs::directory_iterator(plate)) {
        std::vector<std::string> codes;
        const std::string text = *readFile(entry.path());
        for (std::string_view line : splitLines(text))
            if (line.size() == 6) codes.emplace_back(line);
        if (codes.size() > best.second.size()) best = {entry.path().stem().string(), codes};
    }
    return best;
}

}  // namespace

TEST(ReportCommandsEndToEnd, MarketReportSectorScreeningAndRanking) {
    test::TempDataDir dir;
    const fs::path tree = dir.path() / "tree";
    ASSERT_FALSE(test::publishDemoMarket(tree, 60, 7, 6).empty());
    test::RunningServer running(tree);
    const std::string servers =
        " --server " + running.dataURL() + " --quote-server " + running.quoteURL();
    const auto cli = [&](const std::string& args) {
        return test::runProgram(std::string(ORVANE_CLI) + " " + args + servers + " 2>/dev/null");
    };
    const fs::path sortdata = tree / "const/hisdata/sortdata";

    const auto report = cli("market-report");
    ASSERT_EQ(report.status, 0) << report.out;
    const std::size_t rising = listedStocks(sortdata, "shsortup_new.txt", "szsortup_new.txt", -1);
    const std::size_t falling =
        listedStocks(sortdata, "shsortdown_new.txt", "szsortdown_new.txt", 1);
    EXPECT_GT(rising, 0u);
    EXPECT_GT(falling, 0u);
    EXPECT_NE(report.out.find("上涨 " + std::to_string(rising) + "只 下跌 " +
                              std::to_string(falling) + "只"),
              std::string::npos)
        << report.out;
    EXPECT_NE(report.out.find("沪深 上涨板块信息"), std::string::npos);
    EXPECT_NE(report.out.find("下跌板块信息"), std::string::npos);
    EXPECT_NE(report.out.find("\n市场状态: 目前市场"), std::string::npos);

    const auto [group, members] = largestGroup(dir.path() / "constdata/plate");
    ASSERT_FALSE(members.empty());
    int high = 0;
    for (const std::string& code : members)
        if (auto r = readFile(tree / "const/hisdata/retdata" / (code + ".txt")))
            if (auto rec = parseRetStockServerData(*r, nullptr))
                high += intFor(*rec, keys::STOCK_SCORE) >= 91;
    EXPECT_GT(high, 0);
    const auto screened = cli("screen-sector " + group);
    ASSERT_EQ(screened.status, 0);
    EXPECT_NE(screened.out.find("high scorers (score 91 or more): " + std::to_string(high)),
              std::string::npos)
        << screened.out;
    std::smatch m;
    const std::regex pickedLine(R"(\n(\d{6})\t)");
    for (auto it = screened.out.cbegin(); std::regex_search(it, screened.out.cend(), m, pickedLine);
         it = m[0].second)
        EXPECT_NE(std::find(members.begin(), members.end(), m[1].str()), members.end());
    EXPECT_NE(cli("screen-sector 没有这个板块").status, 0);

    const auto ranked = cli("rank --top 10");
    ASSERT_EQ(ranked.status, 0);
    const std::string today = formatDate(toLocal(now()));
    const fs::path path = dir.path() / "Gains" / (today + ".txt");
    EXPECT_EQ(ranked.out, path.string() + "\n");
    const auto text = readFile(path);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->rfind("沪深涨幅统计信息   日期：" + today + "\r\n", 0), 0u);
    EXPECT_TRUE(fs::exists(dir.path() / "Gains" / (today + "_5GainsSort.plist")));

    // Without the data server the commands fail at once.
    const auto unreachable =
        test::runProgram(std::string(ORVANE_CLI) + " rank --server http://127.0.0.1:1/orvane");
    EXPECT_NE(unreachable.status, 0);
    EXPECT_TRUE(unreachable.out.empty());
}
