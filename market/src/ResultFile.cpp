#include "orvane/market/ResultFile.h"

#include <string>

#include "orvane/core/NotificationBus.h"
#include "orvane/core/NotificationNames.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/TextSplit.h"
#include "orvane/market/BoundedSubstring.h"
#include "orvane/market/StockKeys.h"

namespace orvane {

namespace {

// Reads the values of one result file by key.
class ResultFields {
  public:
    explicit ResultFields(std::string_view text) : text_(text) {}

    std::string text(std::string_view key) const { return std::string(raw(key).value_or("")); }
    std::int32_t integer(std::string_view key) const { return leadingInt(raw(key).value_or("")); }
    float real(std::string_view key) const { return leadingFloat(raw(key).value_or("")); }
    // Flags are kept as 8-bit values: only the low byte of the integer counts.
    std::int8_t flag(std::string_view key) const { return static_cast<std::int8_t>(integer(key)); }

  private:
    std::optional<std::string_view> raw(std::string_view key) const {
        return substringWithinBoundsLeft(text_, key, "\n");
    }
    std::string_view text_;
};

bool flagSum(std::int8_t a, std::int8_t b) {
    return static_cast<std::uint8_t>(a + b) != 0;
}

// The current-day part shared by today's and earlier days' files.
StockRecord currentDayRecord(const ResultFields& f, bool modeB) {
    StockRecord r;
    r.code = f.text("curStockCode=");
    r.score = f.integer("stockScore=");
    r.date = f.text("OneTrade_date=");
    r.yesClosePrice = f.text("yesterdayClosePrice=");
    r.openPrice = f.text("OneTrade_openPrice=");
    r.closePrice = f.text("OneTrade_closePrice=");
    r.highPrice = f.text("OneTrade_highPrice=");
    r.lowPrice = f.text("OneTrade_lowPrice=");
    r.trend = f.integer("trend=");
    r.modeB = modeB;
    r.gain5 = f.real("gains5Days=");
    r.gain10 = f.real("gains10Days=");
    r.description = stockDescription(*r.trend, *r.score, *r.gain5, *r.gain10, modeB);
    return r;
}

void postModelBNotice(const ResultFields& f, const void* sender, std::int8_t a, std::int8_t b) {
    using namespace keys;
    NotificationBus::shared().post(notifications::Notifiation_TREND_MODEB, sender,
                                   Dictionary{
                                       {StockCode, f.text("curStockCode=")},
                                       {MsgDate, f.text("OneTrade_date=")},
                                       {MsgDate_Check, f.text("Mode_MsgCheckDate=")},
                                       {STOCK_closePrice, f.text("Mode_modeBClosePrice=")},
                                       {STOCK_ModeB_BUY_A, a != 0},
                                       {STOCK_ModeB_BUY_B, b != 0},
                                   });
}

}  // namespace

std::string stockDescription(std::int32_t trend, std::int32_t score, float gain5, float gain10,
                             bool modeB) {
    std::string text = modeB ? "技术形态和模型B相似; " : "";
    const double g5 = gain5, g10 = gain10;
    switch (trend) {
        case 0:
            return text + format("趋势不明,得分:%d", score);
        case 1:
            return text +
                   format("上涨趋势,得分:%d ;5日涨幅为%.2f%%, 10日涨幅为%.2f%%", score, g5, g10);
        case 2:
            return text + "下降趋势";
        case 3:
            return text + format("盘整状态; 得分:%d", score);
        case 1000:
            return text + format("正在加速上涨,得分:%d ;5日涨幅为%.2f%%, 10日涨幅为%.2f%%", score,
                                 g5, g10);
        case 1001:
            return text +
                   format("突破关键点,得分:%d ;5日涨幅为%.2f%%, 10日涨幅为%.2f%%", score, g5, g10);
        default:
            return text + format("没有判断出趋势,得分:%d", score);
    }
}

std::optional<StockRecord> parseRetStockServerData(std::string_view text, const void* sender) {
    ResultFields f(text);
    const std::string code = f.text("curStockCode=");
    if (utf16Length(code) != 6) return std::nullopt;

    const std::int8_t a = f.flag("Mode_isModeA="), b = f.flag("Mode_isModeB=");
    StockRecord record = currentDayRecord(f, flagSum(a, b));
    StockRecord before5;
    before5.code = code;
    before5.date = f.text("beforeTrade_date=");
    before5.trend = f.integer("before_trend=");
    before5.modeB = flagSum(f.flag("before_Mode_isModeA="), f.flag("before_Mode_isModeB="));
    before5.gain5 = f.real("before_gains5Days=");
    before5.gain10 = f.real("before_gains10Days=");
    record.setBefore5Days(std::move(before5));
    if (a != 0 || b != 0) postModelBNotice(f, sender, a, b);
    return record;
}

std::optional<StockRecord> parseRetStockHistordayData(std::string_view text, const void* sender) {
    ResultFields f(text);
    const double volume = f.real("OneTrade_volumeData=");
    if (volume < 10.0) return std::nullopt;
    const double yesClose = f.real("yesterdayClosePrice=");
    const double close = f.real("OneTrade_closePrice=");
    if (yesClose < 0.01 && close < 0.01) return std::nullopt;

    const std::int8_t a = f.flag("Mode_isModeA="), b = f.flag("Mode_isModeB=");
    if (a != 0 || b != 0) postModelBNotice(f, sender, a, b);
    return currentDayRecord(f, flagSum(a, b));
}

}  // namespace orvane
