#pragma once
// The screening loops: each stock of a list (or of one sector group) is
// fetched from the data server, shown in the main window's stock table as it
// arrives, and picked when its trend, score and gains make it a candidate.
// Long-running and synchronous; one screening at a time, since they share
// the analysis engine's per-stock state.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/core/Value.h"
#include "orvane/market/StockRecord.h"

namespace orvane {

class QXStockLib;

/// Hands a fetched record to the delegate's stock table; meant for the main
/// thread.
void updateStockTrendDict(QXStockLib& lib, const StockRecord& record);

/// Screens `list` (elements are stock dictionaries of a gain list carrying
/// `STOCK_Code` and `STOCK_SC_Name` when `isUseDict`, else plain codes) and returns the
/// picked screening records. Stocks with an invalid code, no record or a
/// 10-day gain below 1 are skipped without a table update. Pauses 10 ms
/// after each stock it shows. `stop` (when given) is asked before each
/// stock: true returns the picks so far.
std::vector<StockRecord> filterMyStockArray(QXStockLib& lib, const Array& list, bool isUseDict,
                                            std::int32_t breakScore,
                                            const std::function<bool()>& stop = {});

/// Screens the members of one sector group: returns the candidates, counts
/// the members scoring 91 or more into `outProcessCount`, and puts the
/// members already rising five trading days ago into `outBefor5Array`.
/// When `stop` is given and becomes true, the loop ends before the next
/// member (what was screened so far is returned).
std::vector<StockRecord> processFilterStockFromSubPlateGroup(
    QXStockLib& lib, std::string_view group, std::int32_t& outProcessCount,
    std::vector<StockRecord>& outBefor5Array, const std::atomic<bool>* stop = nullptr);

}  // namespace orvane
