#include "orvane/market/StockRule.h"

#include <gtest/gtest.h>

#include "orvane/market/DayResults.h"

using namespace orvane;

namespace {

StockRule ruleOf(std::string_view text) {
    auto parsed = parseStockRule(text);
    if (auto* error = std::get_if<RuleError>(&parsed))
        ADD_FAILURE() << text << ": " << error->text();
    return std::get_if<StockRule>(&parsed) ? std::get<StockRule>(parsed) : StockRule{};
}

// A breakthrough on the main board, 4.2% up on the day, above 150 points.
StockFacts breakthrough() {
    StockFacts f;
    f.code = "600000";
    f.name = "浦发银行";
    f.trend = 1001;
    f.score = 160;
    f.modelB = true;
    f.buyA = false;
    f.buyB = true;
    f.gain5 = 12.5;
    f.gain10 = 30;
    f.change = 4.2;
    f.close = 10.42;
    f.limitUp = false;
    f.sectors = std::vector<std::string>{"银行", "上证50"};
    return f;
}

}  // namespace

TEST(StockRuleText, ReadsEveryFieldAndWritesTheTextItReadsBack) {
    const StockRule rule = ruleOf(
        "TREND in (1001,1000) and score >= 150 and gain5 < 20 and not st and gain10 <= 35.5 and "
        "change > -2 and close ≥ 3 and modelb and not buya and buyb and not limitup and "
        "sector = \"银行\" and not board in (star, chinext)");
    ASSERT_EQ(rule.conditions.size(), 13u);
    EXPECT_EQ(rule.conditions[0].trends, (std::vector<std::int32_t>{1001, 1000}));
    EXPECT_EQ(rule.conditions[4].number, 35.5);
    EXPECT_EQ(rule.conditions[5].number, -2);
    EXPECT_EQ(rule.conditions[6].comparison, Comparison::GreaterOrEqual);
    EXPECT_TRUE(rule.conditions[12].negated);
    const std::string written = stockRuleText(rule);
    EXPECT_EQ(written,
              "trend in (1001, 1000) and score >= 150 and gain5 < 20 and not st and gain10 <= "
              "35.5 and change > -2 and close >= 3 and modelb and not buya and buyb and not "
              "limitup and sector in (\"银行\") and not board in (star, chinext)");
    EXPECT_EQ(ruleOf(written), rule);
}

TEST(StockRuleText, NamesTheColumnOfTheFirstFault) {
    const struct {
        std::string_view text;
        std::size_t column;
        std::string_view says;
    } cases[] = {
        {"", 1, "empty"},
        {"score >= 150 and gian5 < 20", 18, "unknown field \"gian5\""},
        {"trend >= 1000", 7, "takes \"in (...)\" or \"=\""},
        {"score = 150", 7, "compared with >=, <=, > or <"},
        {"st >= 1", 4, "yes-or-no field"},
        {"not score >= 150", 1, "\"not\" cannot turn round a comparison"},
        {"score >= 5000", 10, "out of range"},
        {"change < -101", 10, "out of range"},
        {"trend in (1001, 7)", 17, "no trend code 7"},
        {"trend in (1001 1000)", 16, "expected , or )"},
        {"score >= 150 or st", 14, "joined by \"and\" only"},
        {"score >= 150 and", 17, "must follow \"and\""},
        {"board in (nasdaq)", 11, "expected a board"},
        {"sector in (银行)", 12, "unexpected \"银\""},
        {"sector = \"银行", 10, "closing"},
        {"板块 = 1", 1, "unexpected \"板\""},
        {"gain5 < ", 9, "expected a number, found the end"},
    };
    for (const auto& c : cases) {
        const auto parsed = parseStockRule(c.text);
        const RuleError* error = std::get_if<RuleError>(&parsed);
        ASSERT_NE(error, nullptr) << c.text;
        EXPECT_EQ(error->column, c.column) << c.text << ": " << error->message;
        EXPECT_NE(error->message.find(c.says), std::string::npos)
            << c.text << ": " << error->message;
    }
}

TEST(StockRuleEvaluation, EachConditionMustHoldAndAMissingFactLeavesItOpen) {
    const StockFacts f = breakthrough();
    const struct {
        std::string_view text;
        RuleMatch expected;
    } cases[] = {
        {"trend in (1001, 1000) and score >= 150 and gain5 < 20 and not st", RuleMatch::Met},
        {"trend in (1000)", RuleMatch::NotMet},
        {"not trend = 1000", RuleMatch::Met},
        {"score > 160", RuleMatch::NotMet},
        {"score <= 160 and gain10 >= 30", RuleMatch::Met},
        {"change >= 4.2 and close < 10.43", RuleMatch::Met},
        {"modelb and buyb and not buya", RuleMatch::Met},
        {"buya", RuleMatch::NotMet},
        {"st", RuleMatch::NotMet},
        {"limitup", RuleMatch::NotMet},
        {"sector in (\"白酒\", \"上证50\")", RuleMatch::Met},
        {"sector = \"白酒\"", RuleMatch::NotMet},
        {"board = main and not board in (star)", RuleMatch::Met},
        {"board in (chinext, star)", RuleMatch::NotMet},
    };
    for (const auto& c : cases) EXPECT_EQ(evaluateRule(ruleOf(c.text), f), c.expected) << c.text;

    // A quote knows the price but not the verdict: the verdict's conditions
    // stay open unless a known one fails.
    StockFacts quote;
    quote.code = "300750";
    quote.name = "*ST样本";
    quote.close = 20;
    quote.change = 3;
    EXPECT_EQ(evaluateRule(ruleOf("score >= 150 and change > 2"), quote), RuleMatch::Unknown);
    EXPECT_EQ(evaluateRule(ruleOf("score >= 150 and change > 5"), quote), RuleMatch::NotMet);
    EXPECT_EQ(evaluateRule(ruleOf("st and board = chinext and close >= 20"), quote),
              RuleMatch::Met);
    EXPECT_EQ(evaluateRule(ruleOf("sector = \"银行\""), quote), RuleMatch::Unknown);
}

TEST(DayResultsFile, ReadsBackWhatItWritesAndRefusesBrokenLines) {
    DayResult a{"600000", "浦发,银行", "2024-05-10", 1001, 160, true, true, std::nullopt,
                12.5,     -3.25,       10,           10.1, 11,  9.9,  11};
    DayResult b{"300750", "宁德时代", "2024-05-10", -1,  100, false, std::nullopt, std::nullopt,
                0,        0,          200,          201, 205, 199,   203.5};
    std::string text = dayResultsText({a, b});
    text += "600001,x,2024-05-10,1,2,3\n";  // too few fields
    text += "ABCDEF,x,2024-05-10,1,100,0,,,0,0,1,1,1,1,1\n";
    const DayResultsRead read = parseDayResults(text);
    ASSERT_TRUE(read.error.empty());
    a.name = "浦发 银行";
    EXPECT_EQ(read.results, (std::vector<DayResult>{a, b}));
    EXPECT_EQ(read.refusedLines, 2u);
    EXPECT_FALSE(parseDayResults("code,name\n600000,x\n").error.empty());
    EXPECT_FALSE(parseDayResults("").error.empty());

    // 10 to 11 is the main board's 10% limit; 200 to 203.5 is no limit at all.
    const StockFacts fa = factsOf(a, nullptr);
    EXPECT_EQ(fa.limitUp, true);
    EXPECT_NEAR(*fa.change, 10.0, 1e-9);
    EXPECT_EQ(fa.buyB, false);
    EXPECT_FALSE(fa.sectors);
    EXPECT_EQ(factsOf(b, nullptr).limitUp, false);
}

TEST(LimitUpClose, FollowsTheBoardTheDateAndTheName) {
    const struct {
        double close, previous;
        Board board;
        std::string_view date;
        bool st, expected;
    } cases[] = {
        {11.00, 10.00, Board::Main, "2024-05-10", false, true},
        {10.99, 10.00, Board::Main, "2024-05-10", false, false},
        {10.50, 10.00, Board::Main, "2024-05-10", true, true},   // ST at 5%
        {10.50, 10.00, Board::Main, "2025-07-07", true, false},  // ST at 10% since
        {11.00, 10.00, Board::ChiNext, "2020-08-21", false, true},
        {11.00, 10.00, Board::ChiNext, "2020-08-24", false, false},  // 20% since
        {12.00, 10.00, Board::Star, "2019-08-01", false, true},
        {4.18, 3.80, Board::Main, "2024-05-10", false, true},  // 4.18 is 3.80 * 1.1 to the cent
    };
    for (const auto& c : cases)
        EXPECT_EQ(closedAtLimitUp(c.close, c.previous, c.board, c.date, c.st), c.expected)
            << c.close << " after " << c.previous << " on " << c.date;
}
