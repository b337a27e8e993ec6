#include "orvane/reports/ScreeningPicks.h"

#include <gtest/gtest.h>

using namespace orvane;

static StockRecord stock(const std::string& code) {
    StockRecord r;
    r.code = code;
    return r;
}

TEST(ScreeningPicks, ThresholdsAndAcceleratingPicksFirstFrom169ElseBeforeTheLast) {
    // Own stocks break at score 120; a sideways trend is never picked.
    const struct {
        bool own;
        std::int32_t trend, score;
        float g5, g10;
        bool picked;
    } cases[] = {{true, 1000, 119, 0, 5, false},  {true, 1001, 120, 0, 5, true},
                 {true, 1, 119, 0, 10, false},    {true, 1, 120, 0, 3.0f, false},
                 {true, 1, 120, 0, 3.01f, true},  {true, 3, 160, 8.0f, 5, false},
                 {true, 3, 160, 8.01f, 5, true},  {true, 3, 159, 9.0f, 5, false},
                 {true, 2, 200, 20, 20, false},   {false, 1, 110, 0, 0, true},
                 {false, 1, 109, 0, 0, false},    {false, 1000, 132, 0, 0, false},
                 {false, 1000, 133, 0, 0, true},  {false, 3, 175, 8.2f, 0, false},
                 {false, 3, 174, 9.0f, 0, false}, {false, 3, 175, 8.21f, 0, true}};
    for (const auto& c : cases) {
        std::vector<StockRecord> picked;
        const ScreenedNumbers n{c.trend, c.score, c.g5, c.g10};
        EXPECT_EQ(c.own ? pickOwnStock(picked, stock("600000"), n, 120)
                        : pickSectorStock(picked, stock("600000"), n),
                  c.picked)
            << c.own << " " << c.trend << " " << c.score << " " << c.g5 << " " << c.g10;
    }

    std::vector<StockRecord> picked;
    for (auto [code, score] : {std::pair{"1", 130}, {"2", 169}, {"3", 168}})
        pickOwnStock(picked, stock(code), {1000, score, 0, 5}, 120);
    std::string order;
    for (const StockRecord& r : picked) order += r.code;
    EXPECT_EQ(order, "231");
}
