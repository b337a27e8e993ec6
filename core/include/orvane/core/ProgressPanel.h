#pragma once
// The progress-panel seam: the one shared panel that long work (downloads,
// the market report, screenings) reports its progress to. The desktop
// application installs its window; the headless default shows nothing, and
// the command line installs one that writes to standard error. The shared
// panel (the program's defaultQXProcessUIController) is `ProgressPanel::shared()`.

#include <memory>
#include <string>

#include "orvane/core/ReplaceableService.h"

namespace orvane {

class ProgressPanel : public ReplaceableService<ProgressPanel> {
  public:
    virtual ~ProgressPanel() = default;
    virtual void showProgressPanel(int /*maxValue*/) {}
    virtual void setDisplayString(const std::string& /*text*/) {}
    virtual void setIndicatorCurrentProgress(int /*value*/) {}
    virtual void closeProgressPanel() {}

    /// Shows nothing.
    static std::shared_ptr<ProgressPanel> headlessDefault() {
        return std::make_shared<ProgressPanel>();
    }
};

}  // namespace orvane
