#include "mainwindow/StockLibBridge.h"

#include "lists/FilterStockUIController.h"
#include "mainwindow/QXDocument.h"
#include "mainwindow/ShownStock.h"
#include "mainwindow/StatusLine.h"
#include "orvane/core/MainThreadDispatcher.h"
#include "orvane/core/NumberText.h"
#include "orvane/core/ProgressPanel.h"
#include "orvane/market/CodeTable.h"
#include "sectors/SectorsPanel.h"

namespace orvane::app {

namespace {

/// A loop's step on the progress panel: shown with the first step, moved
/// with each later one, closed with the last (or a step that is none).
void stepProgressPanel(int done, int total, const std::string& text) {
    auto panel = ProgressPanel::shared();
    if (done < 1 || total <= done) {
        panel->closeProgressPanel();
    } else if (done == 1) {
        panel->showProgressPanel(total);
        panel->setDisplayString(text);
    } else {
        panel->setDisplayString(text);
        panel->setIndicatorCurrentProgress(done);
    }
}

}  // namespace

void StockLibBridge::post(std::function<void(QXDocument&)> call) {
    postToMainThread([doc = doc_, call = std::move(call)] {
        if (doc) call(*doc);
    });
}

void StockLibBridge::updateHisdatProgressdDelegate(int done, int total) {
    post([=](QXDocument&) { stepProgressPanel(done, total, "正在分析 "); });
}

void StockLibBridge::updateGainsTitleDataDelegate(int total, int current, const std::string& code) {
    post([=](QXDocument& d) {
        const std::string text =
            format("总共  %d 只股票, 正在下载分析第 %d 只股票数据，\n代码为:%s", total, current,
                   code.c_str());
        d.statusLine().showStatus(text);
        // The shown stock follows the screening loop while it runs.
        if (auto name = CodeTable::shared().getStockCodeName(code))
            d.shownStock().fetching(code, *name);
        stepProgressPanel(current, total, text);
    });
}

void StockLibBridge::updateStockTrendDictDelegate(const StockRecord& record) {
    post([=](QXDocument& d) { d.xupdateStockTrendDict(record); });
}

void StockLibBridge::updateProgressDownloadFinishedDelegate(const std::string&, int progress) {
    post([=](QXDocument&) {
        auto panel = ProgressPanel::shared();
        panel->setIndicatorCurrentProgress(progress);
        panel->setDisplayString("数据下载完成，正在分析...");
    });
}

void StockLibBridge::setStatusBarMarketReportTextDelegate(const StyledText& text, int progress) {
    post([=](QXDocument& d) {
        ProgressPanel::shared()->setIndicatorCurrentProgress(progress);
        d.statusLine().setMarketReportLine(text);
    });
}

void StockLibBridge::setActivatePlateReportDelegate(const std::string& text) {
    post([=](QXDocument& d) { d.sectorsPanel().setActivatePlateReportDelegate(text); });
}

void StockLibBridge::processUISeletedStockDelegate(const std::vector<StockRecord>&) {
    post([](QXDocument& d) { d.filterStockController()->processUISeletedStockResult(); });
}

void StockLibBridge::tagArrayActivatePlateDelegate(const Array& list, bool up, bool clear) {
    post([=](QXDocument& d) { d.sectorsPanel().tagArrayActivatePlateDelegate(list, up, clear); });
}

}  // namespace orvane::app
