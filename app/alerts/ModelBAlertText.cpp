#include "alerts/ModelBAlertText.h"

#include "orvane/core/NumberText.h"
#include "orvane/market/CodeTable.h"
#include "orvane/market/StockCode.h"
#include "orvane/market/StockKeys.h"

namespace orvane::app {

namespace {

std::optional<std::string> textAt(const Dictionary& payload, const char* key) {
    const Value* v = find(payload, key);
    if (!v || !v->isString()) return std::nullopt;
    return v->string();
}

std::optional<bool> flagAt(const Dictionary& payload, const char* key) {
    const Value* v = find(payload, key);
    if (!v || !v->isNumber()) return std::nullopt;
    return v->toBool();
}

/// A price as the notice carries it: text as it is, a number written out
/// the way a single-precision price reads ("10.43", "8").
std::optional<std::string> priceAt(const Dictionary& payload, const char* key) {
    const Value* v = find(payload, key);
    if (!v) return std::nullopt;
    if (v->isString()) return v->string();
    if (v->isInteger()) return format("%lld", static_cast<long long>(v->toInteger()));
    if (v->isReal()) return format("%.7g", v->toDouble());
    return std::nullopt;
}

}  // namespace

std::string codeTableName(const std::string& code) {
    return CodeTable::shared().getStockCodeName(code).value_or(std::string());
}

std::optional<ModelBNotice> readModelBNotice(const Dictionary& payload) {
    using namespace keys;
    auto code = textAt(payload, StockCode);
    auto msgDate = textAt(payload, MsgDate);
    auto checkDate = textAt(payload, MsgDate_Check);
    auto price = priceAt(payload, STOCK_closePrice);
    auto buyA = flagAt(payload, STOCK_ModeB_BUY_A);
    auto buyB = flagAt(payload, STOCK_ModeB_BUY_B);
    if (!code || !isValidStockCode(*code) || !msgDate || !checkDate || !price || !buyA || !buyB)
        return std::nullopt;
    return ModelBNotice{*code, *msgDate, *checkDate, *price, *buyA, *buyB};
}

ModelBAlertText ModelBAlertText::forNotice(const ModelBNotice& notice,
                                           const StockNameLookup& nameOf) {
    ModelBAlertText t;
    t.code = notice.code;
    t.name = nameOf ? nameOf(notice.code) : std::string();
    t.title = t.name + " (" + t.code + ") 符合模型B";
    t.subtitle = notice.checkDate + (notice.buyB ? " 日突破，是模型B的第二买点" : " 日突破");
    t.informativeText = "检测日期" + notice.msgDate + " \n当前价格:" + notice.closePrice + " ";
    return t;
}

std::optional<ModelBAlertText> ModelBAlertText::forPayload(const Dictionary& payload,
                                                           const StockNameLookup& nameOf) {
    auto notice = readModelBNotice(payload);
    if (!notice) return std::nullopt;
    return forNotice(*notice, nameOf);
}

Dictionary ModelBAlertText::alertRecord() const {
    return Dictionary{
        {ModeB_CheckDateStr, subtitle},      {ModeB_stockCode, code}, {ModeB_stockName, name},
        {ModeB_stockPrice, informativeText}, {ModeB_fullName, title},
    };
}

std::optional<std::string> modelBPanelText(const Dictionary& payload,
                                           const StockNameLookup& nameOf) {
    auto notice = readModelBNotice(payload);
    if (!notice) return std::nullopt;
    const std::string name = nameOf ? nameOf(notice->code) : std::string();
    const std::string second = notice->buyB ? " 属于第二买点" : "";
    return name + " (" + notice->code + ") 符合模型B\n" + second + "\n发现时间 " + notice->msgDate +
           " \n当前价格:" + notice->closePrice + " ";
}

}  // namespace orvane::app
