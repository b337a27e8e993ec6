#include "backtest/ChartAtDate.h"

#include "application/ChartScreenshot.h"
#include "orvane/chart/KWindowController.h"

namespace orvane::app {

bool openChartAtDate(chart::KWindowController& charts, const std::filesystem::path& history,
                     const std::string& date) {
    const std::size_t tabs = charts.kLineViewList().size();
    charts.addNewKLineView(history);
    if (charts.kLineViewList().size() == tabs) return false;  // every tab taken
    return placeCrosshairOnDate(charts, date);
}

}  // namespace orvane::app
