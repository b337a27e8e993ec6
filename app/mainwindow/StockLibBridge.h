#pragma once
// The main window as the market-data library's delegate. The library calls
// it from workers; every call is handed to the main thread, where the window
// answers it (and dropped when the window is gone).

#include <QPointer>
#include <functional>

#include "orvane/stocklib/QXStockLibUpdateDelegate.h"

namespace orvane::app {

class QXDocument;

class StockLibBridge final : public QXStockLibUpdateDelegate {
  public:
    explicit StockLibBridge(QXDocument* doc) : doc_(doc) {}

    void updateHisdatProgressdDelegate(int done, int total) override;
    void updateGainsTitleDataDelegate(int total, int current, const std::string& code) override;
    void updateStockTrendDictDelegate(const StockRecord& record) override;
    void updateProgressDownloadFinishedDelegate(const std::string&, int progress) override;
    void setStatusBarMarketReportTextDelegate(const StyledText& text, int progress) override;
    void setActivatePlateReportDelegate(const std::string& text) override;
    void processUISeletedStockDelegate(const std::vector<StockRecord>&) override;
    void tagArrayActivatePlateDelegate(const Array& list, bool up, bool clear) override;

  private:
    void post(std::function<void(QXDocument&)> call);

    QPointer<QXDocument> doc_;
};

}  // namespace orvane::app
