#include "orvane/reports/ScreeningPicks.h"

#include <gtest/gtest.h>

#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

Dictionary stock(const std::string& code) {
    return Dictionary{{k::STOCK_Code, code}, {k::STOCK_SC_Name, "名" + code}};
}

std::vector<std::string> codes(const Array& picked) {
    std::vector<std::string> out;
    for (const Value& v : picked) out.push_back(stringFor(v.dictionary(), k::STOCK_Code));
    return out;
}

}  // namespace

TEST(ScreeningPicks, AcceleratingPicksGoFirstOrBeforeTheLast) {
    Array picked;
    pickOwnStock(picked, stock("000001"), {1000, 130, 0, 5}, 120);
    pickOwnStock(picked, stock("000002"), {1000, 175, 0, 5}, 120);
    pickOwnStock(picked, stock("000003"), {1000, 140, 0, 5}, 120);
    EXPECT_EQ(codes(picked), (std::vector<std::string>{"000002", "000003", "000001"}));

    Array sector;
    for (auto [code, score] : {std::pair{"000001", 140}, {"000002", 170}, {"000003", 150}})
        pickSectorStock(sector, stock(code), {1001, score, 0, 0});
    EXPECT_EQ(codes(sector), (std::vector<std::string>{"000002", "000003", "000001"}));
}

TEST(ScreeningPicks, OwnStockAndSectorThresholds) {
    // Own stocks break at score 120; a sideways trend is never picked.
    const struct {
        bool own;
        std::int32_t trend, score;
        float g5, g10;
        bool picked;
    } cases[] = {{true, 1000, 119, 0, 5, false}, {true, 1001, 120, 0, 5, true},
                 {true, 1, 119, 0, 10, false},   {true, 1, 120, 0, 3.0f, false},
                 {true, 1, 120, 0, 3.01f, true}, {true, 3, 160, 8.0f, 5, false},
                 {true, 3, 160, 8.01f, 5, true}, {true, 3, 159, 9.0f, 5, false},
                 {true, 2, 200, 20, 20, false},  {false, 1, 110, 0, 0, true},
                 {false, 1, 109, 0, 0, false},   {false, 1000, 132, 0, 0, false},
                 {false, 1000, 133, 0, 0, true}, {false, 3, 175, 8.2f, 0, false},
                 {false, 3, 174, 9.0f, 0, false}};
    for (const auto& c : cases) {
        Array picked;
        const ScreenedNumbers n{c.trend, c.score, c.g5, c.g10};
        EXPECT_EQ(c.own ? pickOwnStock(picked, stock("600000"), n, 120)
                        : pickSectorStock(picked, stock("600000"), n),
                  c.picked)
            << c.own << " " << c.trend << " " << c.score << " " << c.g5 << " " << c.g10;
    }
}

TEST(ScreeningPicks, SectorShortForm) {
    Dictionary full = stock("600000");
    full[k::STOCK_Trend] = 3;
    full[k::STOCK_closePrice] = "10.00";
    full[k::KEY_Gain_5Days] = 8.21f;
    full[k::KEY_Plate_Group] = "银行";
    Array picked;
    ASSERT_TRUE(pickSectorStock(picked, full, {3, 175, 8.21f, 0}));
    const Dictionary& shortForm = picked[0].dictionary();
    EXPECT_EQ(shortForm.count(k::STOCK_Trend), 0u);
    EXPECT_EQ(shortForm.count(k::STOCK_closePrice), 0u);
    EXPECT_EQ(stringFor(shortForm, k::KEY_Plate_Group), "银行");
    EXPECT_FLOAT_EQ(floatFor(shortForm, k::KEY_Gain_5Days), 8.21f);
}
