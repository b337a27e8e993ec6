// orvane backtest run as a user would: a published tree and the CSV folder it
// was published from give the same results; bad input gets its own exit code,
// a message naming it, and nothing at --out.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <regex>

#include "RunProgram.h"
#include "TempDataDir.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/StockRuleBook.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int code;
    std::string text;  // standard output and error
};

class BacktestCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(csv);
        std::ofstream(list) << "symbol,name,industry\n600001,甲股份,银行\n000002,*ST乙,地产\n"
                               "300003,丙科技,电子\n";
        std::mt19937 rng(5);
        for (const char* code : {"600001", "000002", "300003"}) {
            std::string text = "date,open,close,high,low,volume\n";
            double price = 10;
            for (int d = 0; d < 330; ++d) {
                if (code[0] == '0' && d >= 200 && d < 204) continue;  // a suspension
                const double open = price;
                price = std::max(1.0, price * (1 + (static_cast<int>(rng() % 81) - 40) / 1000.0));
                text += orvane::format("%s,%.2f,%.2f,%.2f,%.2f,%d\n", date(d).c_str(), open, price,
                                       std::max(open, price), std::min(open, price), 1000 + d);
            }
            std::ofstream(csv / (std::string(code) + ".csv")) << text;
        }
    }

    // Weekdays from 2023-01-02 on.
    static std::string date(int index) {
        using namespace std::chrono;
        const year_month_day d{sys_days{2023y / January / 2} + days{index / 5 * 7 + index % 5}};
        return orvane::format("%04d-%02u-%02u", int(d.year()), unsigned(d.month()),
                              unsigned(d.day()));
    }

    Outcome backtest(const std::string& args) const {
        const auto r = orvane::test::runProgram("(" + std::string(ORVANE_CLI) + " backtest " +
                                                args + " 2>&1)");
        return {WIFEXITED(r.status) ? WEXITSTATUS(r.status) : -1, r.out};
    }
    std::string fromCsv() const {
        return "--csv-dir " + csv.string() + " --stocks " + list.string();
    }
    /// Publishes the CSV folder as a tree, with `args` added.
    fs::path publishedTree(const std::string& args = "") const {
        const fs::path tree = dir.path() / "tree";
        EXPECT_EQ(orvane::test::runProgram(std::string(ORVANE_SERVER) + " publish " + fromCsv() +
                                           args + " --out " + tree.string())
                      .status,
                  0);
        return tree;
    }
    /// Runs `a` into folder a and `b` into folder b, both expected to succeed.
    std::pair<Outcome, Outcome> runsInto(const std::string& a, const std::string& b) const {
        std::pair<Outcome, Outcome> r{backtest(a + " --out " + (dir.path() / "a").string()),
                                      backtest(b + " --out " + (dir.path() / "b").string())};
        EXPECT_EQ(r.first.code, 0) << r.first.text;
        EXPECT_EQ(r.second.code, 0) << r.second.text;
        return r;
    }
    void expectSameFiles(std::initializer_list<const char*> files) const {
        for (const char* file : files)
            EXPECT_EQ(orvane::readFile(dir.path() / "a" / file),
                      orvane::readFile(dir.path() / "b" / file))
                << file;
    }

    orvane::test::TempDataDir dir;
    fs::path csv = dir.path() / "daily", list = dir.path() / "list.csv", out = dir.path() / "out";
    /// Writes an impossible close (1e30) into the file's line `line` (1 the header).
    void spoilClose(const std::string& file, int line) const {
        std::string text = *orvane::readFile(csv / file);
        std::size_t at = 0;
        for (int i = 1; i < line; ++i) at = text.find('\n', at) + 1;
        const std::size_t close = text.find(',', text.find(',', at) + 1) + 1;
        text.replace(close, text.find(',', close) - close, "1e30");
        std::ofstream(csv / file) << text;
    }
};

}  // namespace

TEST_F(BacktestCommand, TreeAndCsvFolderGiveTheSameResults) {
    const auto [fromTree, fromFolder] =
        runsInto("--tree " + publishedTree().string() + " --horizons 1,5 --jobs 1",
                 fromCsv() + " --horizons 1,5");
    expectSameFiles({"signals.csv", "summary.csv", "baseline.csv"});
    // 30 days with 300 before them, 26 for the stock suspended 4 days; the
    // suspension is named.
    EXPECT_NE(fromFolder.text.find("Back-test of 86 verdicts of 3 stocks"), std::string::npos)
        << fromFolder.text;
    EXPECT_NE(fromFolder.text.find("1 stocks miss market days"), std::string::npos);
    EXPECT_NE(fromFolder.text.find("000002 from " + date(200) + " to " + date(203)),
              std::string::npos);
}

// Adjusted the same way, a tree and its folder still agree, and the
// adjustment changes what followed the verdicts before the ex-date.
TEST_F(BacktestCommand, AdjustedTreeAndCsvFolderGiveTheSameResults) {
    const fs::path events = dir.path() / "events.csv";
    std::ofstream(events) << "code,date,cash_per_10,bonus_per_10,transfer_per_10,rights_per_10,"
                             "rights_price\n600001,"
                          << date(315) << ",5,10,,,\n";
    const std::string adjust = " --adjust forward --events " + events.string();
    const auto [fromTree, fromFolder] =
        runsInto("--tree " + publishedTree(adjust).string() + " --horizons 5",
                 fromCsv() + adjust + " --horizons 5");
    EXPECT_NE(fromFolder.text.find(", 1 ex-rights days adjusted"), std::string::npos)
        << fromFolder.text;
    expectSameFiles({"signals.csv", "summary.csv"});
    backtest(fromCsv() + " --horizons 5 --out " + (dir.path() / "c").string());
    for (const char* file : {"signals.csv", "summary.csv"})
        EXPECT_NE(orvane::readFile(dir.path() / "b" / file),
                  orvane::readFile(dir.path() / "c" / file))
            << file;
    const Outcome noSource = backtest(fromCsv() + " --adjust forward");
    EXPECT_EQ(noSource.code, 2) << noSource.text;
    EXPECT_NE(noSource.text.find("--adjust forward needs the ex-rights days"), std::string::npos);
}

// The same market as one tushare file of every stock, newest day first,
// read with --data: the same results as our own folder gives.
TEST_F(BacktestCommand, DataInAnotherLayoutGivesTheResultsOfOurOwn) {
    std::vector<std::string> lines;
    for (const char* code : {"600001", "000002", "300003"}) {
        std::ifstream in(csv / (std::string(code) + ".csv"));
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            // date,open,close,high,low,volume -> ts_code,trade_date,open,high,low,close,vol
            std::vector<std::string> f;
            for (std::string_view part : orvane::splitOn(line, ',')) f.emplace_back(part);
            std::string date = f[0];
            std::erase(date, '-');
            lines.push_back(date + "," + code + (code[0] == '6' ? ".SH," : ".SZ,") + date + "," +
                            f[1] + "," + f[3] + "," + f[4] + "," + f[2] + "," + f[5]);
        }
    }
    std::sort(lines.rbegin(), lines.rend());
    std::ofstream file(dir.path() / "daily.csv");
    file << "ts_code,trade_date,open,high,low,close,vol\n";
    for (const std::string& line : lines) file << line.substr(line.find(',') + 1) << "\n";
    file.close();

    runsInto(fromCsv() + " --horizons 1,5", "--data " + (dir.path() / "daily.csv").string() +
                                                " --stocks " + list.string() + " --horizons 1,5");
    expectSameFiles({"signals.csv", "summary.csv", "baseline.csv"});
    // Without a list the names are unknown, and the run says so.
    const Outcome unnamed = backtest("--data " + (dir.path() / "daily.csv").string());
    EXPECT_EQ(unnamed.code, 0) << unnamed.text;
    EXPECT_NE(unnamed.text.find("no stock list: the codes stand in for the names"),
              std::string::npos)
        << unnamed.text;
}

TEST_F(BacktestCommand, BadInputHasItsExitCodeAMessageAndLeavesOutAlone) {
    const std::string to = " --out " + out.string();
    const struct {
        std::string args;
        int code;
        std::string says;
    } cases[] = {
        {fromCsv() + " --horizons 0", 2, "a horizon of 0 trading days"},
        {fromCsv() + " --horizons 5,251", 2, "horizons run from 1 to 250"},
        {fromCsv() + " --horizons 5,x", 2, "--horizons \"5,x\""},
        {fromCsv() + " --entry noon", 2, "give open or close"},
        {fromCsv() + " --from 2023-02-30", 2, "\"2023-02-30\" is no date"},
        {"--tree " + (dir.path() / "none").string(), 3, "orvane-server publish --out"},
        {"--tree " + csv.string(), 3, "is no published tree"},
        {"--data " + dir.path().string(), 3, "the layouts known are: our daily CSV"},
        {"--data " + csv.string() + " --csv-dir " + csv.string(), 2, "give either --tree"},
        {"--csv-dir " + csv.string() + " --stocks " + (dir.path() / "no.csv").string(), 3,
         "no.csv: cannot read the stock list"},
        {fromCsv() + " --from 2030-01-01", 4, "the data runs from 2023-01-02 to " + date(329)},
        {fromCsv() + " --to " + date(250), 4, "the first day with enough history is " + date(300)},
        {fromCsv() + " --commission 2", 2, "a commission is a share of the amount"},
        {fromCsv() + " --portfolio --slots 0", 2, "the slots run from 1 to 1000"},
        {fromCsv() + " --portfolio --group colour:red", 2, "--group colour:red: give all"},
        {fromCsv() + " --portfolio --group trend:4242", 4, "the group trend:4242 has no signal"},
    };
    for (const auto& c : cases) {
        const Outcome r = backtest(c.args + to);
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.text;
        EXPECT_NE(r.text.find(c.says), std::string::npos) << c.args << "\n" << r.text;
        EXPECT_FALSE(fs::exists(out)) << c.args;
    }
    std::ofstream(dir.path() / "file") << "x";
    const Outcome unwritable =
        backtest(fromCsv() + " --out " + (dir.path() / "file" / "out").string());
    EXPECT_EQ(unwritable.code, 5) << unwritable.text;
    // A folder with other files is never replaced.
    const Outcome notOurs = backtest(fromCsv() + " --out " + csv.string());
    EXPECT_EQ(notOurs.code, 5) << notOurs.text;
    EXPECT_NE(notOurs.text.find("holds other files"), std::string::npos) << notOurs.text;
    EXPECT_TRUE(fs::exists(csv / "600001.csv"));

    // A rule by its text or its name in the data folder's book; one that
    // meets nothing says so.
    ASSERT_FALSE(orvane::writeRuleBook({{"flat", "change > -100 and not st", false}},
                                       orvane::defaultRuleBookFile()));
    for (const char* rule : {"--rule flat", "--rule 'change > -100 and not st'"}) {
        const Outcome r = backtest(fromCsv() + " " + rule);
        EXPECT_EQ(r.code, 0) << r.text;
        EXPECT_NE(r.text.find("By rule"), std::string::npos) << r.text;
    }
    const struct {
        std::string rule;
        int code;
        std::string says;
    } rules[] = {
        {"'score >= 1000'", 6, "met none of the"},
        {"'gian5 < 3'", 2, "column 1: unknown field \"gian5\""},
        {"breakout", 2, "no rule named \"breakout\""},
    };
    for (const auto& c : rules) {
        const Outcome r = backtest(fromCsv() + " --rule " + c.rule + to);
        EXPECT_EQ(r.code, c.code) << c.rule << "\n" << r.text;
        EXPECT_NE(r.text.find(c.says), std::string::npos) << c.rule << "\n" << r.text;
        EXPECT_FALSE(fs::exists(out)) << c.rule;
    }

    // A broken CSV is named with its line and skipped; the run goes on.
    std::ofstream(csv / "600009.csv") << "date,open,close,high,low,volume\n"
                                         "2023-01-03,1,1,1,1,1\n2023-01-02,1,1,1,1,1\n";
    const Outcome skipped = backtest(fromCsv() + to);
    EXPECT_EQ(skipped.code, 0) << skipped.text;
    EXPECT_NE(skipped.text.find("600009.csv: line 3"), std::string::npos) << skipped.text;
    EXPECT_TRUE(fs::exists(out / "summary.csv"));
}

TEST_F(BacktestCommand, OutMayEndInASeparatorAndAnUnwritableOneFailsBeforeTheWork) {
    std::ofstream(dir.path() / "file") << "x";
    const Outcome unwritable =
        backtest(fromCsv() + " --out " + (dir.path() / "file" / "out").string() + "/");
    EXPECT_EQ(unwritable.code, 5) << unwritable.text;
    EXPECT_NE(unwritable.text.find("cannot create"), std::string::npos) << unwritable.text;
    EXPECT_EQ(unwritable.text.find("Back-test of"), std::string::npos) << unwritable.text;

    // An impossible close is refused by line, named and counted; the rest of
    // the file stays.
    spoilClose("600001.csv", 12);
    const Outcome run = backtest(fromCsv() + " --horizons 1,5 --out " + out.string() + "/");
    ASSERT_EQ(run.code, 0) << run.text;
    EXPECT_TRUE(fs::exists(out / "summary.csv"));
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find("staging"), std::string::npos);
    EXPECT_NE(run.text.find("600001.csv: line 12: the high"), std::string::npos) << run.text;
    EXPECT_NE(run.text.find("is below the close 1e+30; refused"), std::string::npos);
    EXPECT_NE(run.text.find("of 3 stocks in"), std::string::npos) << run.text;
    EXPECT_NE(run.text.find(", 1 day lines refused"), std::string::npos) << run.text;
}

TEST_F(BacktestCommand, PortfolioWritesItsFilesAndNoCostsMakeNetGross) {
    const Outcome run = backtest(fromCsv() + " --portfolio --slots 2 --out " + out.string());
    ASSERT_EQ(run.code, 0) << run.text;
    EXPECT_NE(run.text.find("Calmar"), std::string::npos) << run.text;
    const auto equity = orvane::readFile(out / "equity.csv");
    const auto trades = orvane::readFile(out / "trades.csv");
    ASSERT_TRUE(equity && trades);
    EXPECT_TRUE(equity->starts_with("date,cash,holdings,net_value,market_net_value\n" + date(300) +
                                    ",1000000.00,0.00,1000000.00,1000000.00\n"));
    EXPECT_GT(std::count(trades->begin(), trades->end(), '\n'), 2);

    // Without costs the net mean is the mean.
    ASSERT_EQ(backtest(fromCsv() + " --no-costs --out " + out.string()).code, 0);
    const auto summary = orvane::readFile(out / "summary.csv");
    ASSERT_TRUE(summary);
    const auto lines = orvane::splitOn(*summary, '\n');
    const auto names = orvane::splitOn(lines[0], ',');
    const auto fields = orvane::splitOn(lines[1], ',');
    const auto net = std::find(names.begin(), names.end(), "net_mean_pct") - names.begin();
    ASSERT_LT(static_cast<std::size_t>(net), fields.size()) << lines[0];
    EXPECT_EQ(fields[static_cast<std::size_t>(net)], fields[6]) << lines[1];
}

// A second run over the same files takes the market from the verdict store,
// with what its reading skipped and counted; a file changed by one byte is
// read again.
TEST_F(BacktestCommand, TheStoreStandsForTheFilesUntilOneChanges) {
    std::ofstream(list, std::ios::app) << "60000X,坏代码,银行\n";
    spoilClose("300003.csv", 5);
    // The output but for the progress, the folder written, the seconds taken
    // and where the verdicts came from.
    auto said = [](const std::string& text) {
        std::string kept;
        for (std::string_view line : orvane::splitOn(text, '\n'))
            if (!line.starts_with("reading:") && !line.starts_with("analysing:") &&
                !line.starts_with("wrote "))
                kept.append(line).push_back('\n');
        kept = std::regex_replace(kept, std::regex(" in [0-9.]+ s"), "");
        return std::regex_replace(kept, std::regex(", verdicts (kept in|read from) .*"), "");
    };

    const auto [computed, stored] =
        runsInto(fromCsv() + " --horizons 1,5", fromCsv() + " --horizons 1,5");
    EXPECT_NE(computed.text.find(", verdicts kept in"), std::string::npos) << computed.text;
    EXPECT_NE(stored.text.find(", verdicts read from"), std::string::npos) << stored.text;
    expectSameFiles({"signals.csv", "summary.csv", "baseline.csv"});
    EXPECT_EQ(said(stored.text), said(computed.text));
    EXPECT_NE(stored.text.find("\"60000X\" is not a stock code"), std::string::npos) << stored.text;
    EXPECT_NE(stored.text.find(", 1 day lines refused"), std::string::npos) << stored.text;

    // One volume one higher: worked out again, as a run without the store.
    std::string changed = *orvane::readFile(csv / "600001.csv");
    changed[changed.size() - 2] += 1;
    std::ofstream(csv / "600001.csv") << changed;
    const auto [again, unstored] =
        runsInto(fromCsv() + " --horizons 1,5", fromCsv() + " --horizons 1,5 --no-store");
    EXPECT_NE(again.text.find(", verdicts kept in"), std::string::npos) << again.text;
    expectSameFiles({"signals.csv", "summary.csv", "baseline.csv"});
}
