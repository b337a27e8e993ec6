#pragma once
// The market report of the day, from the day's rising and falling stocks:
// the rising- and falling-sector reports and their ranked lists (staged with
// the day's lists, to replace them in the Gains folder together), the market
// score on the engine, the status line, and the sell-signal notice for held
// stocks in strongly falling sectors. The market score is kept on the
// engine, through a session.

#include <cstdint>
#include <string>
#include <vector>

#include "orvane/reports/MarketBreadth.h"

namespace orvane {

class AnalysisSession;
class StagedFileSet;

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
/// market score, stages the report and the ranked groups in `files`; the
/// strong groups go to `sortUpPlant`.
std::string marketReportAnalyse_SortUP(AnalysisSession& session,
                                       const std::vector<StockRecord>& rising,
                                       std::int32_t& sortUpPlant, StagedFileSet& files);
/// The falling-sector report of `falling`: adds its points to the engine's
/// market score, stages the report and the ranked groups in `files`; the
/// strong groups go to `sortDownPlant`, the sell-signal notice of the held
/// stocks (empty: none) to `sellSignal`.
std::string marketReportAnalyse_SortDown(AnalysisSession& session,
                                         const std::vector<StockRecord>& falling,
                                         std::int32_t& sortDownPlant, StagedFileSet& files,
                                         std::string& sellSignal);

/// Computes the market score (from 100) into the engine from the day's
/// rising and falling stocks, stages the reports and lists in `files`; the
/// rising report goes to `risingReport`, the sell-signal notice to
/// `sellSignal`.
StyledText calMarketScore(AnalysisSession& session, const std::vector<StockRecord>& rising,
                          const std::vector<StockRecord>& falling, StagedFileSet& files,
                          std::string& risingReport, std::string& sellSignal);

/// Posts the sell-signal notice (Notifiation_Stock_rasieDown) from the
/// engine, once the report it belongs to was stored; nothing when empty.
void postSellSignalNotice(const void* engine, const std::string& sellSignal);

}  // namespace orvane
