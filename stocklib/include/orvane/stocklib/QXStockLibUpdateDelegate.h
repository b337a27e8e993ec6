#pragma once
// What the market-data library reports back to its delegate (the main
// window). Every method has an empty default, so a delegate implements only
// what it shows.

#include <string>
#include <vector>

#include "orvane/core/StyledText.h"
#include "orvane/core/Value.h"
#include "orvane/market/StockRecord.h"

namespace orvane {

class QXStockLibUpdateDelegate {
  public:
    virtual ~QXStockLibUpdateDelegate() = default;

    /// After each earlier day's file: done = 1..total.
    virtual void updateHisdatProgressdDelegate(int /*done*/, int /*total*/) {}
    /// Before each stock of a screening loop is fetched (current is 1-based).
    virtual void updateGainsTitleDataDelegate(int /*total*/, int /*current*/,
                                              const std::string& /*stockcode*/) {}
    /// A stock's record is ready (main thread).
    virtual void updateStockTrendDictDelegate(const StockRecord& /*record*/) {}
    virtual void updateProgressDownloadFinishedDelegate(const std::string& /*message*/,
                                                        int /*progress*/) {}
    /// The market report line: the status text in the market state's font and colour.
    virtual void setStatusBarMarketReportTextDelegate(const StyledText& /*text*/,
                                                      int /*progress*/) {}
    virtual void setActivatePlateReportDelegate(const std::string& /*text*/) {}
    virtual void tagArrayActivatePlateDelegate(const Array& /*list*/, bool /*isSortUpOrDown*/,
                                               bool /*isClearOldMark*/) {}
    virtual void processUISeletedStockDelegate(const std::vector<StockRecord>& /*list*/) {}
};

}  // namespace orvane
