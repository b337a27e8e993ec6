#pragma once
// The market report of the day, from the four parsed gain lists in the Gains
// folder: the rising- and falling-sector reports and their ranked lists
// (written to the Gains folder), the market score on the engine, the status
// line, and the sell-signal notice for held stocks in strongly falling
// sectors. The market score is kept on the engine, through a session.

#include <cstdint>
#include <string>
#include <vector>

#include "orvane/reports/MarketBreadth.h"

namespace orvane {

class AnalysisSession;

/// The payload key of the sell-signal notice (NotificationNames.h).
inline constexpr const char* StockSellSignal = "StockSellSignal";

/// The localized message of one sell signal: group, its falling share,
/// stock name, code and the stock's change in percent.
std::string noticeDown2(const std::string& group, double share, const std::string& name,
                        const std::string& code, double percent);

/// The held stocks: the HoldStock folder's entries without extension, in
/// name order.
std::vector<std::string> getMyHoldArray();

/// The rising-sector report of `rising`: adds its points to the engine's
/// market score, writes the report and the ranked groups to the Gains
/// folder; the strong groups go to `sortUpPlant`.
std::string marketReportAnalyse_SortUP(AnalysisSession& session,
                                       const std::vector<StockRecord>& rising,
                                       std::int32_t& sortUpPlant);
/// The falling-sector report of `falling`: adds its points to the engine's
/// market score, posts the sell-signal notice of the held stocks, writes the
/// report and the ranked groups; the strong groups go to `sortDownPlant`.
std::string marketReportAnalyse_SortDown(AnalysisSession& session,
                                         const std::vector<StockRecord>& falling,
                                         std::int32_t& sortDownPlant);

/// Computes the market score (from 100) into the engine, writes the reports and lists,
/// posts the sell-signal notice when there is one; the rising report goes to
/// `risingReport`.
StyledText calMarketScore(AnalysisSession& session, std::string& risingReport);

}  // namespace orvane
