#pragma once
// One stock's record for one trading day, typed: what the result-file and
// quote parsers, the local computation and the screenings make, and what the
// command line, the main window and the lists read. Each producer fills only
// its own fields (an absent field is empty, never a silent 0), and the record
// turns into the stock dictionary of StockKeys.h, and back, only where a
// property list or a notice payload is written or read.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/core/Value.h"
#include "orvane/market/QuoteBook.h"

namespace orvane {

struct StockRecord {
    std::string code;                          // STOCK_Code: every record has one
    std::optional<std::string> name;           // STOCK_SC_Name
    std::optional<std::string> pinyin;         // STOCK_pinyin
    std::optional<std::string> date;           // STOCK_DATE: "yyyy-MM-dd" (quotes add the time)
    std::optional<std::string> yesClosePrice;  // STOCK_YesClosePrice
    std::optional<std::string> openPrice;      // STOCK_OpenPrice
    std::optional<std::string> closePrice;     // STOCK_closePrice
    std::optional<std::string> highPrice;      // STOCK_HighPrice
    std::optional<std::string> lowPrice;       // STOCK_LowPrice
    std::optional<std::int32_t> trend;         // STOCK_Trend
    std::optional<std::int32_t> score;         // STOCK_SCORE
    std::optional<bool> modeB;                 // STOCK_Trend_ModeB
    std::optional<float> gain5;                // KEY_Gain_5Days, percent
    std::optional<float> gain10;               // KEY_Gain_10Days, percent
    std::optional<std::string> description;    // STOCK_Discription
    /// STOCK_DICTINFO_Before5Days: the verdict five trading days back (code,
    /// date, trend, model-B flag, gains). Shared, never changed once made.
    std::shared_ptr<const StockRecord> before5Days;
    std::optional<std::int32_t> modeType;   // STOCK_MODE_TYPE (4: double cannon)
    std::optional<std::string> plateGroup;  // KEY_Plate_Group: the stock's group names

    // What only a quote carries, kept out of the stock dictionary: today's
    // volume in shares, amount in yuan, the five levels and the status word.
    std::optional<double> volume;
    std::optional<double> amount;
    std::optional<QuoteBook> book;
    std::optional<std::string> quoteStatus;

    // The prices as the analysis reads them: single precision, the leading
    // number of the text, 0 for an absent price.
    float yesClose() const;
    float open() const;
    float close() const;
    float high() const;
    float low() const;

    /// The value the stock dictionary holds under `key` (strings, 32-bit
    /// integers, booleans, single-precision reals, the before-5-days
    /// dictionary); nothing for an absent field or a key of no field.
    std::optional<Value> valueFor(std::string_view key) const;

    /// The stock dictionary: exactly the present fields under their keys.
    Dictionary toDictionary() const;
    /// The fields of a stock dictionary; keys of no field are ignored. Texts
    /// given as numbers take their usual text form.
    static StockRecord fromDictionary(const Dictionary& d);

    void setBefore5Days(StockRecord record) {
        before5Days = std::make_shared<const StockRecord>(std::move(record));
    }

    /// Equal fields (the before-5-days records compared by value).
    friend bool operator==(const StockRecord& a, const StockRecord& b);
};

/// The records of a stored list of stock dictionaries (elements that are no
/// dictionary are left out), and such a list of records.
std::vector<StockRecord> stockRecordsOf(const Array& list);
Array dictionariesOf(const std::vector<StockRecord>& records);

}  // namespace orvane
