#include "backtest/ChartAtDate.h"

#include "application/ChartScreenshot.h"
#include "orvane/chart/KWindowController.h"

namespace orvane::app {

bool openChartAtDate(chart::KWindowController& charts, const std::filesystem::path& history,
                     const std::string& date) {
    // The stock's own tab, or a new one; none when every tab is taken.
    if (!charts.addNewKLineView(history)) return false;
    return placeCrosshairOnDate(charts, date);
}

}  // namespace orvane::app
