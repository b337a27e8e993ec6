#pragma once
// The progress-panel seam: the one shared panel that long work (downloads,
// the market report, screenings) reports its progress to. The desktop
// application installs its window; the headless default shows nothing, and
// the command line installs one that writes to standard error.

#include <memory>
#include <string>

namespace orvane {

class ProgressPanel {
  public:
    virtual ~ProgressPanel() = default;
    virtual void showProgressPanel(int /*maxValue*/) {}
    virtual void setDisplayString(const std::string& /*text*/) {}
    virtual void setIndicatorCurrentProgress(int /*value*/) {}
    virtual void closeProgressPanel() {}
};

/// The shared panel (the headless one until a panel is installed).
std::shared_ptr<ProgressPanel> defaultQXProcessUIController();
/// Installs a panel; nullptr restores the headless one.
void setProcessUIController(std::shared_ptr<ProgressPanel> panel);

}  // namespace orvane
