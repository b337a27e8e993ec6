#pragma once
// The progress panel of the desktop application (defaultQXProcessUIController):
// a small non-modal panel attached to the main window with a message, a bar
// and a percent label, loaded from "ProcessingPanel". Downloads, the market
// report and the screenings report to it through the ProgressPanel seam from
// any thread; a worker's calls are posted to the main thread and applied
// there in order, calls on the main thread apply at once.

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

#include "platform/ProgressPanelModel.h"
#include "orvane/core/ProgressPanel.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace orvane::app {

class QXProcessUIController final : public ProgressPanel,
                                    public std::enable_shared_from_this<QXProcessUIController> {
  public:
    /// On the main thread, owned by a shared_ptr (workers' calls hold it weakly).
    static std::shared_ptr<QXProcessUIController> create();
    ~QXProcessUIController() override;

    /// The installed panel (installQtSeams); nullptr while none is installed.
    static std::shared_ptr<QXProcessUIController> defaultQXProcessUIController();

    /// The window the panel is attached to and centred over (main thread);
    /// nullptr detaches it.
    void setParentWindow(QWidget* window);

    /// Shows the panel with the bar indeterminate, "0.0 %" and no message.
    void showProgressPanel(int maxValue) override;
    /// The message, only while shown.
    void setDisplayString(const std::string& text) override;
    /// Step `value` of the maximum, only while shown; the last step closes.
    void setIndicatorCurrentProgress(int value) override;
    void closeProgressPanel() override;

    /// Main thread only.
    bool isProgressDialogShown() const { return model_.isShown(); }
    QDialog* progressDialog() const { return progressDialog_; }

  private:
    QXProcessUIController();
    /// Runs `change` on the main thread: now, or posted when called elsewhere.
    void onMainThread(std::function<void(QXProcessUIController&)> change);
    void centreOverParent();
    void bringToFront();

    ProgressPanelModel model_;
    QPointer<QDialog> progressDialog_;
    QLabel* progressTextField_ = nullptr;
    QProgressBar* progressIndicator_ = nullptr;
    QLabel* displayStringTextField_ = nullptr;
};

}  // namespace orvane::app
