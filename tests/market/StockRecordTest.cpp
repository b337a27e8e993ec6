#include "orvane/market/StockRecord.h"

#include <gtest/gtest.h>

#include "orvane/core/AtomicFile.h"
#include "orvane/core/PropertyList.h"
#include "orvane/market/GainList.h"
#include "orvane/market/QuoteLine.h"
#include "orvane/market/ResultFile.h"
#include "orvane/market/ScoreLists.h"
#include "orvane/market/StockKeys.h"

using namespace orvane;
namespace k = orvane::keys;

namespace {

const std::string kToday = [] {
    const char* src = std::getenv("ORVANE_SOURCE_DIR");
    auto path = std::filesystem::path(src ? src : ".") / "tests/market/fixtures/today-result.txt";
    return readFile(path).value_or("");
}();

std::vector<std::string> keysOf(const Dictionary& d) {
    std::vector<std::string> out;
    for (const auto& [key, value] : d) out.push_back(key);
    return out;
}

// The dictionaries each producer of stock records writes, as they are stored.
std::vector<Dictionary> producedDictionaries() {
    const std::string quote =
        "var hq_str_sh600000=\"浦发银行,10.10,10.00,10.50,10.60,9.90,0,0,0,0,0,0,0,0,0,0,0,0,0,"
        "0,0,0,0,0,0,0,0,0,0,0,2025-09-03,15:00:00,00\";";
    std::vector<Dictionary> out{
        parseRetStockServerData(kToday, nullptr)->toDictionary(),
        parseRetStockHistordayData(kToday + "OneTrade_volumeData=5000\n", nullptr)->toDictionary(),
        parseSinaData(quote, "600000")->toDictionary(),
        ScoreRecord{"600000", 181, true, 4}.toRecord(),
        Dictionary{
            {k::STOCK_Code, "600000"}, {k::STOCK_SC_Name, "浦发银行"}, {k::STOCK_pinyin, "PFYH"}},
        Dictionary{{k::STOCK_Code, "600000"},
                   {k::STOCK_SC_Name, "浦发银行"},
                   {k::STOCK_OpenPrice, "10.10"},
                   {k::STOCK_YesClosePrice, "10.00"},
                   {k::STOCK_closePrice, "10.50"},
                   {k::KEY_Gain_5Days, 3.25f},
                   {k::KEY_Gain_10Days, 12.7f},
                   {k::KEY_Plate_Group, "银行,上证50"}},
    };
    for (const Value& v : parseGainList("x\n1,600000,浦发银行,10.00,10.10,10.50,5.00\n\n", -1))
        out.push_back(v.dictionary());
    return out;
}

}  // namespace

TEST(StockRecord, EveryProducersDictionaryRoundTripsToTheSameStoredBytes) {
    for (const Dictionary& d : producedDictionaries()) {
        const StockRecord r = StockRecord::fromDictionary(d);
        EXPECT_EQ(r.toDictionary(), d) << describe(d);
        EXPECT_EQ(toXmlPropertyList(r.toDictionary()), toXmlPropertyList(d)) << describe(d);
        for (const auto& [key, value] : d) EXPECT_EQ(r.valueFor(key), value) << key;
    }
    EXPECT_FALSE(StockRecord::fromDictionary({}).valueFor(k::STOCK_SCORE));
    EXPECT_FALSE(StockRecord{}.valueFor("speedValue"));
}

TEST(StockRecord, AStoredListReadsAndWritesBackByteForByte) {
    std::vector<Dictionary> produced = producedDictionaries();
    const Array stored(produced.begin(), produced.end());
    const std::string bytes = toXmlPropertyList(stored);
    const auto read = parsePropertyList(bytes);
    ASSERT_TRUE(read);
    const std::vector<StockRecord> records = stockRecordsOf(read->array());
    ASSERT_EQ(records.size(), produced.size());
    EXPECT_EQ(toXmlPropertyList(dictionariesOf(records)), bytes);
}

TEST(StockRecord, ResultFileRecordHoldsExactlyItsProducersKeys) {
    const auto r = parseRetStockServerData(kToday, nullptr);
    ASSERT_TRUE(r);
    using V = std::vector<std::string>;
    EXPECT_EQ(keysOf(r->toDictionary()),
              (V{k::KEY_Gain_10Days, k::KEY_Gain_5Days, k::STOCK_Code, k::STOCK_DATE,
                 k::STOCK_DICTINFO_Before5Days, k::STOCK_Discription, k::STOCK_HighPrice,
                 k::STOCK_LowPrice, k::STOCK_OpenPrice, k::STOCK_SCORE, k::STOCK_Trend,
                 k::STOCK_Trend_ModeB, k::STOCK_YesClosePrice, k::STOCK_closePrice}));
    EXPECT_EQ(keysOf(r->before5Days->toDictionary()),
              (V{k::KEY_Gain_10Days, k::KEY_Gain_5Days, k::STOCK_Code, k::STOCK_DATE,
                 k::STOCK_Trend, k::STOCK_Trend_ModeB}));
    // Types as the dictionary has always held them: 32-bit numbers as
    // integers, the flag as a boolean, gains as reals, prices as text.
    const Dictionary d = r->toDictionary();
    EXPECT_TRUE(d.at(k::STOCK_SCORE).isInteger());
    EXPECT_TRUE(d.at(k::STOCK_Trend_ModeB).isBool());
    EXPECT_TRUE(d.at(k::KEY_Gain_5Days).isReal());
    EXPECT_TRUE(d.at(k::STOCK_closePrice).isString());
}

TEST(StockRecord, PricesAsFloatsAndTextsGivenAsNumbers) {
    StockRecord r = StockRecord::fromDictionary(
        {{k::STOCK_Code, "600000"}, {k::STOCK_closePrice, "10.50abc"}, {k::STOCK_LowPrice, 9.5}});
    EXPECT_EQ(r.close(), 10.5f);
    EXPECT_EQ(r.lowPrice, "9.5");
    EXPECT_EQ(r.low(), 9.5f);
    EXPECT_EQ(r.high(), 0.0f);  // absent
    EXPECT_FALSE(r.highPrice);
}
