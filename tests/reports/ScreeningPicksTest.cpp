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

bool ownPick(std::int32_t trend, std::int32_t score, float g5, float g10) {
    Array picked;
    return pickOwnStock(picked, stock("600000"), {trend, score, g5, g10}, 120);
}

bool sectorPick(std::int32_t trend, std::int32_t score, float g5) {
    Array picked;
    return pickSectorStock(picked, stock("600000"), {trend, score, g5, 0});
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

TEST(ScreeningPicks, OwnStockThresholds) {
    EXPECT_FALSE(ownPick(1000, 119, 0, 5));  // below the break score
    EXPECT_TRUE(ownPick(1001, 120, 0, 5));
    EXPECT_FALSE(ownPick(1, 119, 0, 10));
    EXPECT_FALSE(ownPick(1, 120, 0, 3.0f));
    EXPECT_TRUE(ownPick(1, 120, 0, 3.01f));
    EXPECT_FALSE(ownPick(3, 160, 8.0f, 5));
    EXPECT_TRUE(ownPick(3, 160, 8.01f, 5));
    EXPECT_FALSE(ownPick(3, 159, 9.0f, 5));
    EXPECT_FALSE(ownPick(2, 200, 20, 20));  // a sideways trend is never picked
}

TEST(ScreeningPicks, SectorThresholdsAndTheShortForm) {
    EXPECT_TRUE(sectorPick(1, 110, 0));
    EXPECT_FALSE(sectorPick(1, 109, 0));
    EXPECT_FALSE(sectorPick(1000, 132, 0));
    EXPECT_TRUE(sectorPick(1000, 133, 0));
    EXPECT_FALSE(sectorPick(3, 175, 8.2f));
    EXPECT_FALSE(sectorPick(3, 174, 9.0f));

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
