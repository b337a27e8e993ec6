// The whole road: a demo market published, served over HTTP, and read back
// by the program's market-data library and by the report commands of the
// command line.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "PublishedMarket.h"
#include "RunProgram.h"
#include "ServerSamples.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/Clock.h"
#include "orvane/core/TextEncoding.h"
#include "orvane/market/DayResults.h"
#include "orvane/market/GainList.h"
#include "orvane/market/MarketServers.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/StockKeys.h"
#include "orvane/stocklib/QXStockLib.h"

using namespace orvane;
namespace fs = std::filesystem;
namespace k = orvane::keys;

namespace {

class EndToEnd : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        served = new test::ServedTree;
        market = test::publishSyntheticMarket(*served, 60, *parseDate("2025-12-05"));
    }
    static void TearDownTestSuite() { delete served; }
    static std::optional<StockRecord> published(const std::string& code) {
        return parseRetStockServerData(
            readFile(served->tree() / ("const/hisdata/retdata/" + code + ".txt")).value_or(""),
            nullptr);
    }
    static test::ProgramRun cli(const std::string& args) {
        return test::runProgram(std::string(ORVANE_CLI) + " " + args + served->serverOptions());
    }
    static std::size_t listed(const std::string& direction, std::int32_t sign) {
        const fs::path lists = served->tree() / "const/hisdata/sortdata";
        return parseGainList(downloadedText(*readFile(lists / ("sh" + direction))), sign).size() +
               parseGainList(downloadedText(*readFile(lists / ("sz" + direction))), sign).size();
    }

    static inline test::ServedTree* served = nullptr;
    static inline std::vector<server::StockSeries> market;
};

}  // namespace

TEST_F(EndToEnd, PublishedMarketComesBackThroughTheLibraryAndTheReportCommands) {
    ASSERT_FALSE(market.empty());
    const auto before = MarketServers::shared();
    MarketServers::install(
        std::make_shared<MarketServers>(served->url("/orvane"), served->url("/")));
    const std::string code = market[3].listing.code;
    QXStockLib& lib = QXStockLib::defQXStockLib();
    auto record = lib.getOneStockDataInfoFormServer(code);
    EXPECT_TRUE(record);
    EXPECT_EQ(record, published(code));
    EXPECT_EQ(lib.getLastPassdayDataInfoFormServer(code, 3).size(), 4u);
    EXPECT_EQ(lib.getTodayStockDict(code).value_or(StockRecord{}).name, market[3].listing.name);
    MarketServers::install(before);

    const auto report = cli("market-report");
    ASSERT_EQ(report.status, 0) << report.out;
    const std::size_t rising = listed("sortup_new.txt", -1);
    const std::size_t falling = listed("sortdown_new.txt", 1);
    EXPECT_GT(rising * falling, 0u);
    const std::string breadth =
        "上涨 " + std::to_string(rising) + "只 下跌 " + std::to_string(falling) + "只";
    EXPECT_NE(report.out.find(breadth), std::string::npos) << report.out;

    const std::string group = market[0].listing.industry;
    int high = 0;
    for (const server::StockSeries& s : market)
        if (auto record = published(s.listing.code); record && s.listing.industry == group)
            high += record->score.value_or(0) >= 91;
    EXPECT_GT(high, 0);
    const auto screened = cli("screen-sector " + group);
    ASSERT_EQ(screened.status, 0);
    EXPECT_NE(screened.out.find("high scorers (score 91 or more): " + std::to_string(high)),
              std::string::npos)
        << screened.out;

    const auto ranked = cli("rank --top 10");
    ASSERT_EQ(ranked.status, 0);
    const std::string today = formatDate(toLocal(now()));
    const fs::path gains = served->folder() / "Gains" / (today + ".txt");
    EXPECT_EQ(ranked.out, gains.string() + "\n");
    EXPECT_EQ(readFile(gains).value_or("").rfind("沪深涨幅统计信息   日期：" + today, 0), 0u);
    const auto written = readFile(gains);
    EXPECT_NE(cli("rank --top 0").status, 0);  // refused: the report stays
    EXPECT_EQ(readFile(gains), written);

    // Without the data server the commands fail at once.
    const auto unreachable =
        test::runProgram(std::string(ORVANE_CLI) + " rank --server http://127.0.0.1:1/orvane");
    EXPECT_NE(unreachable.status, 0);
    EXPECT_TRUE(unreachable.out.empty());
}

TEST_F(EndToEnd, TheDaysResultsScreenTheWholeMarketByARule) {
    // The file holds every stock's published verdict, one line each.
    const DayResultsRead day = parseDayResults(
        readFile(served->tree() / std::string(serverpath::kDayResultsFile).substr(1)).value_or(""));
    ASSERT_TRUE(day.error.empty()) << day.error;
    EXPECT_EQ(day.refusedLines, 0u);
    ASSERT_EQ(day.results.size(), market.size());
    const std::string group = market[0].listing.industry;
    std::vector<std::string> high;
    for (const DayResult& r : day.results) {
        const auto record = published(r.code);
        ASSERT_TRUE(record) << r.code;
        EXPECT_EQ(record->trend, r.trend);
        EXPECT_EQ(record->score, r.score);
        EXPECT_FLOAT_EQ(record->gain5.value_or(-1), static_cast<float>(r.gain5));
        const auto s = std::find_if(market.begin(), market.end(),
                                    [&](const auto& m) { return m.listing.code == r.code; });
        if (r.score >= 91 && s->listing.industry == group) high.push_back(r.code);
    }
    ASSERT_FALSE(high.empty());

    const auto screened = cli("screen --rule 'score >= 91 and sector = \"" + group + "\"'");
    ASSERT_EQ(screened.status, 0) << screened.out;
    EXPECT_NE(screened.out.find(std::to_string(high.size()) + " of " +
                                std::to_string(market.size()) + " stocks"),
              std::string::npos)
        << screened.out;
    for (const std::string& code : high)
        EXPECT_NE(screened.out.find("\n" + code + "\t"), std::string::npos) << code;

    auto withErrors = [](const std::string& args) {
        return test::runProgram(std::string(ORVANE_CLI) + " " + args + served->serverOptions(),
                                true);
    };
    const auto none = withErrors("screen --rule 'score >= 1000'");
    EXPECT_EQ(WEXITSTATUS(none.status), 1);
    EXPECT_NE(none.out.find("met none of the " + std::to_string(market.size()) + " stocks"),
              std::string::npos)
        << none.out;
    EXPECT_EQ(WEXITSTATUS(cli("screen --rule 'score >> 3'").status), 2);

    // A tree published before the file existed still serves; the screen says why it cannot.
    const fs::path file = served->tree() / std::string(serverpath::kDayResultsFile).substr(1);
    fs::rename(file, file.string() + ".away");
    const auto missing = withErrors("screen --rule 'not st'");
    fs::rename(file.string() + ".away", file);
    EXPECT_EQ(WEXITSTATUS(missing.status), 3);
    EXPECT_NE(missing.out.find("publish it again"), std::string::npos) << missing.out;
}
