#pragma once
// Keys of the stock dictionary (one trade-day record). Stored files and other
// programs depend on these exact strings, typos included.

namespace orvane::keys {

inline constexpr const char* STOCK_Code = "STOCK_Code";
inline constexpr const char* STOCK_SC_Name = "STOCK_SC_Name";
inline constexpr const char* STOCK_pinyin = "STOCK_pinyin";
inline constexpr const char* STOCK_DATE = "STOCK_DATE";
inline constexpr const char* STOCK_YesClosePrice = "STOCK_YesClosePrice";
inline constexpr const char* STOCK_OpenPrice = "STOCK_OpenPrice";
inline constexpr const char* STOCK_closePrice = "STOCK_closePrice";
inline constexpr const char* STOCK_HighPrice = "STOCK_HighPrice";
inline constexpr const char* STOCK_LowPrice = "STOCK_LowPrice";
inline constexpr const char* STOCK_Trend = "STOCK_Trend";
inline constexpr const char* STOCK_SCORE = "STOCK_SCORE";
inline constexpr const char* STOCK_Trend_ModeB = "STOCK_Trend_ModeB";
inline constexpr const char* KEY_Gain_5Days = "KEY_Gain_5Days";
inline constexpr const char* KEY_Gain_10Days = "KEY_Gain_10Days";
inline constexpr const char* STOCK_Discription = "STOCK_Discription";
inline constexpr const char* STOCK_DICTINFO_Before5Days = "STOCK_DICTINFO_Before5Days";
inline constexpr const char* STOCK_MODE_TYPE = "STOCK_MODE_TYPE";
inline constexpr const char* KEY_Plate_Group = "KEY_Plate_Group";
inline constexpr const char* KEY_Plate_Group_NAME = "KEY_Plate_Group_NAME";
inline constexpr const char* KEY_Plate_Group_Index = "KEY_Plate_Group_Index";
inline constexpr const char* KEY_Plate_Group_ALL_NUM = "KEY_Plate_Group_ALL_NUM";

// The payload of the model-B notice (NotificationNames.h).
inline constexpr const char* StockCode = "StockCode";
inline constexpr const char* MsgDate = "MsgDate";
inline constexpr const char* MsgDate_Check = "MsgDate_Check";
inline constexpr const char* STOCK_ModeB_BUY_A = "STOCK_ModeB_BUY_A";
inline constexpr const char* STOCK_ModeB_BUY_B = "STOCK_ModeB_BUY_B";

}  // namespace orvane::keys
