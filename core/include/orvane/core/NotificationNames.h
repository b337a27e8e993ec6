#pragma once
// Every notification name of the program, in one place. Other programs and
// stored settings know these exact strings, typos included.

namespace orvane::notifications {

/// A stock shows model B (payload: the model-B keys of StockKeys.h).
inline constexpr const char* Notifiation_TREND_MODEB = "Notifiation_TREND_MODEB";
/// Held stocks in strongly falling sectors (payload: StockSellSignal).
inline constexpr const char* Notifiation_Stock_rasieDown = "Notifiation_Stock_rasieDown";
/// A row of a stock list was double-clicked (payload: the row's stock dictionary).
inline constexpr const char* Notifiation_DoubleClickStock = "Notifiation_DoubleClickStock";
/// Another day was selected in the single-stock history (payload: that day's record).
inline constexpr const char* Notifiation_HistodayStockChaged = "Notifiation_HistodayStockChaged";
/// A stock was selected in a list (payload: its code under STOCK_Code).
inline constexpr const char* Notifiation_GetStockStatus = "Notifiation_GetStockStatus";
/// A chart tab's buttons (payload: the button's index under "infoButtonID").
inline constexpr const char* InfoButtonCloseNotification = "InfoButtonCloseNotification";
inline constexpr const char* InfoButtonClickNotification = "InfoButtonClickNotification";

}  // namespace orvane::notifications
