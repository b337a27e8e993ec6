#include "orvane/core/ProgressPanel.h"

#include "orvane/core/ServiceSlot.h"

namespace orvane {

namespace {
ServiceSlot<ProgressPanel>& slot() {
    static ServiceSlot<ProgressPanel> s(std::make_shared<ProgressPanel>());
    return s;
}
}  // namespace

std::shared_ptr<ProgressPanel> defaultQXProcessUIController() {
    return slot().get();
}

void setProcessUIController(std::shared_ptr<ProgressPanel> panel) {
    slot().install(std::move(panel));
}

}  // namespace orvane
