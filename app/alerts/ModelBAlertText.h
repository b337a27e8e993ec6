#pragma once
// The texts of a model-B alert, made from the model-B notice's payload: the
// desktop notification's title, subtitle and informative text, the alert
// record kept in "StockModeB.plist", and the text of the application's own
// alert panel. Pure functions of the payload and the stock's name.
//
// A payload is usable only when every key is there with its type: a valid
// six-digit "StockCode", the texts "MsgDate" and "MsgDate_Check",
// "STOCK_closePrice" as text or number and the two buy flags as booleans or
// numbers. Anything else gives nothing, and the notice is ignored.

#include <functional>
#include <optional>
#include <string>

#include "orvane/core/Value.h"

namespace orvane::app {

/// The stock's name for a code; empty when the code table does not know it.
using StockNameLookup = std::function<std::string(const std::string& code)>;
/// The data directory's code table.
std::string codeTableName(const std::string& code);

// Keys of the model-B alert record.
inline constexpr const char* ModeB_CheckDateStr = "ModeB_CheckDateStr";
inline constexpr const char* ModeB_stockCode = "ModeB_stockCode";
inline constexpr const char* ModeB_stockName = "ModeB_stockName";
inline constexpr const char* ModeB_stockPrice = "ModeB_stockPrice";
inline constexpr const char* ModeB_fullName = "ModeB_fullName";

/// The checked fields of a model-B notice payload.
struct ModelBNotice {
    std::string code;
    std::string msgDate;    ///< when the notice was made (or the trade date)
    std::string checkDate;  ///< the detected day
    std::string closePrice;
    bool buyA = false;
    bool buyB = false;
};

/// Nothing when a key is missing or wrongly typed.
std::optional<ModelBNotice> readModelBNotice(const Dictionary& payload);

struct ModelBAlertText {
    std::string code;
    std::string name;
    std::string title;     ///< "<name> (<code>) 符合模型B"
    std::string subtitle;  ///< "<day> 日突破", plus "，是模型B的第二买点" for buy point B
    std::string informativeText;  ///< "检测日期<date> \n当前价格:<price> "

    static ModelBAlertText forNotice(const ModelBNotice& notice, const StockNameLookup& nameOf);
    static std::optional<ModelBAlertText> forPayload(const Dictionary& payload,
                                                     const StockNameLookup& nameOf);

    /// {ModeB_CheckDateStr: subtitle, ModeB_stockCode, ModeB_stockName,
    ///  ModeB_stockPrice: informative text, ModeB_fullName: title}.
    Dictionary alertRecord() const;
};

/// The alert panel's text for one payload; nothing for an unusable payload.
std::optional<std::string> modelBPanelText(const Dictionary& payload,
                                           const StockNameLookup& nameOf);

}  // namespace orvane::app
