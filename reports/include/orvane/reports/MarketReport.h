#pragma once
// The market report of the day, from the four parsed gain lists in the Gains
// folder: the rising- and falling-sector reports and their ranked lists
// (written to the Gains folder), the market score on the engine, the status
// line, and the sell-signal notice for held stocks in strongly falling
// sectors. Runs under the engine's lock.

#include <string>
#include <vector>

#include "orvane/reports/MarketBreadth.h"

namespace orvane {

class QXUtility;

/// The notice posted for sell signals, and its payload key.
inline constexpr const char* Notifiation_Stock_rasieDown = "Notifiation_Stock_rasieDown";
inline constexpr const char* StockSellSignal = "StockSellSignal";

/// The localized message of one sell signal: group, its falling share,
/// stock name, code and the stock's change in percent.
std::string noticeDown2(const std::string& group, double share, const std::string& name,
                        const std::string& code, double percent);

/// The held stocks: the HoldStock folder's entries without extension, in
/// name order.
std::vector<std::string> getMyHoldArray();

/// Computes the market score into the engine, writes the reports and lists,
/// posts the sell-signal notice when there is one; the rising report goes to
/// `risingReport`.
StyledText calMarketScore(QXUtility& engine, std::string& risingReport);

}  // namespace orvane
