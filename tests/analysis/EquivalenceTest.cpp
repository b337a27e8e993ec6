// The fast engine against the literal one, which splits the text again in
// every operation: bit-for-bit the same verdicts on the whole real market and
// on randomly broken texts. And the pure run, which the back-test calls from
// many threads at once, against the engine's facade (its lock, its reset,
// the process clock, the model-B notice): bit-for-bit the same.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "LiteralEngine.h"
#include "TempDataDir.h"
#include "orvane/analysis/AnalysisRun.h"
#include "orvane/analysis/HistoricalDay.h"
#include "orvane/analysis/QXUtility.h"
#include "orvane/analysis/SessionDay.h"
#include "orvane/core/AtomicFile.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/CsvHistory.h"
#include "orvane/market/HistoryText.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;

namespace {

// Floats compared bit for bit (any NaN equals any other).
template <class T>
bool same(const T& a, const T& b) {
    if constexpr (std::is_same_v<T, float>)
        return std::memcmp(&a, &b, sizeof a) == 0 || (a != a && b != b);
    return a == b;
}
#define DIFFERS(field) (same(fast.field, slow.field) ? "" : #field " ")

std::string differences(const AnalysisResult& fast, const AnalysisResult& slow) {
    return std::string(DIFFERS(trend)) + DIFFERS(score) + DIFFERS(keyPrice) + DIFFERS(end5) +
           DIFFERS(end10) + DIFFERS(modeB) + DIFFERS(buyA) + DIFFERS(buyB) + DIFFERS(accel) +
           DIFFERS(t10) + DIFFERS(t180) + DIFFERS(t300);
}

AnalysisResult fastRun(std::string_view text, const TodayTrade& today, const LocalDateTime& now) {
    ParsedHistory history(text);
    return parseOneStockYahooHistoryFormToday(HistoryView(history), today, now);
}

std::vector<std::filesystem::path> realMarketFiles() {
    std::vector<std::filesystem::path> files;
    const auto market = test::sharedMarketDir();
    if (market.empty()) return files;
    for (const auto& e : std::filesystem::directory_iterator(market / "daily"))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(Equivalence, WholeRealMarketAsOfTwoDays) {
    const auto files = realMarketFiles();
    if (files.empty()) GTEST_SKIP() << "no shared market data";
    int compared = 0, failures = 0;
    for (const auto& file : files) {
        const std::string code = file.stem().string();
        const std::string history = csvToHistoryText(*readFile(file)).history;
        if (!isValidRespondStr(history)) continue;
        // Converted lines all have seven fields.
        const auto day1 = splitOn(*historyLine(history, 1), ','),
                   day2 = splitOn(*historyLine(history, 2), ',');
        const TodayTrade today{code, leadingFloat(day1[1]), leadingFloat(day1[4]),
                               leadingFloat(day2[4])};
        LocalDateTime now = *parseDate(day1[0]);
        now.hour = 15;
        now = toLocal(fromLocal(now));
        // Today inside the history, and the history a day behind the quote.
        const std::string lagging = std::string(*historyLine(history, 0)) + "\n" +
                                    history.substr(history.find('\n', history.find('\n') + 1) + 1);
        for (const std::string* text : {&history, &lagging}) {
            const std::string diff =
                differences(fastRun(*text, today, now), literal::analyzeLiteral(*text, today, now));
            if (!diff.empty() && ++failures <= 10) ADD_FAILURE() << code << ": " << diff;
            ++compared;
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(compared, 5000);
}

TEST(Equivalence, RandomlyBrokenTexts) {
    std::mt19937 rng(20251206);
    const LocalDateTime now = *parseDateTime("2025-09-08 10:00:00");
    auto pick = [&](int n) { return static_cast<int>(rng() % n); };
    for (int round = 0; round < 400; ++round) {
        std::string text = "Date,Open,High,Low,Close,Volume,Adj Close\n";
        const int lines = pick(400);
        float price = 5.0f + pick(100) / 10.0f;
        for (int i = 0; i < lines; ++i) {
            price *= 1.0f + (pick(2001) - 1000) / 20000.0f;
            char line[128];
            std::snprintf(line, sizeof line, "2025-%02d-%02d,%.2f,%.2f,%.2f,%.2f,%d,%.2f",
                          1 + pick(12), 1 + pick(28), price, price * 1.02, price * 0.98, price,
                          pick(10) ? 1000 + pick(100000) : pick(12), price);
            // Now and then a blank line, a cut line, an extra field or a bad date.
            const int kind = pick(40);
            text += kind == 0   ? std::string("\r\n")
                    : kind == 1 ? std::string("\n")
                    : kind == 2 ? std::string(line).substr(0, pick(20)) + "\n"
                    : kind == 3 ? std::string(line) + ",extra\n"
                    : kind == 4 ? std::string("2025-02-30,1,1,1,1,100,1\n")
                                : std::string(line) + "\n";
        }
        if (pick(3) == 0 && !text.empty()) text.pop_back();
        const TodayTrade today{pick(5) ? "600000" : "399001", price,
                               price * (1.0f + pick(30) / 100.0f),
                               price * (1.0f - pick(10) / 100.0f)};
        const std::string diff =
            differences(fastRun(text, today, now), literal::analyzeLiteral(text, today, now));
        ASSERT_TRUE(diff.empty()) << "round " << round << ": " << diff;
    }
}

TEST(Equivalence, PureRunMatchesTheFacadeOnRealStocksInBothModes) {
    const auto files = realMarketFiles();
    if (files.empty()) GTEST_SKIP() << "no shared market data";
    test::TempDataDir dataDir;
    int compared = 0, failures = 0;
    for (std::size_t f = 0; f < files.size(); f += 7) {
        const std::string code = files[f].stem().string();
        const std::string text = csvToHistoryText(*readFile(files[f])).history;
        ParsedHistory parsed(text);
        const HistoryView whole(parsed);
        for (std::int64_t k : {1, 40, 250, 600}) {
            const auto day = sessionDayOf(whole, k, code);
            if (!day) continue;
            // The quote as the facade reads it: the line's own texts.
            const auto fields = splitOn(whole[k].text, ',');
            const Dictionary quote{
                {keys::STOCK_Code, code},
                {keys::STOCK_OpenPrice, std::string(fields[1])},
                {keys::STOCK_closePrice, std::string(fields[4])},
                {keys::STOCK_YesClosePrice, std::string(splitOn(whole[k + 1].text, ',')[4])}};
            test::FixedNow at(day->now.year, day->now.month, day->now.day, day->now.hour);
            // Lagging: the history as it stood before the day; same day: with it.
            for (const std::int64_t first : {k + 1, k}) {
                const AnalysisResult facade =
                    QXUtility::defQXUtility().analyzeStock(*historicalDayText(whole, first), quote);
                const AnalysisResult pure = first == k + 1
                                                ? sessionVerdict(*day)
                                                : parseOneStockYahooHistoryFormToday(
                                                      *whole.dayView(k), day->today, day->now);
                const std::string diff = differences(pure, facade);
                if (!diff.empty() && ++failures <= 10)
                    ADD_FAILURE() << code << " day " << k << (first == k ? " same day: " : ": ")
                                  << diff;
                ++compared;
            }
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(compared, 2500);
}
