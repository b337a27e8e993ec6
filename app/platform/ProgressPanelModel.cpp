#include "platform/ProgressPanelModel.h"

#include <algorithm>
#include <cstdio>

namespace orvane::app {

void ProgressPanelModel::show(int maxValue) {
    maxValue_ = std::max(maxValue, 1);
    shown_ = true;
}

std::optional<ProgressPanelModel::Step> ProgressPanelModel::advance(int value) {
    if (!shown_) return std::nullopt;
    const long long reached = std::min<long long>(static_cast<long long>(value) + 1, maxValue_);
    const long long percent = reached * 100 / maxValue_;
    char text[32];
    std::snprintf(text, sizeof text, "%.f %%", static_cast<double>(percent));
    Step step{static_cast<int>(reached), text, reached >= maxValue_};
    if (step.closes) shown_ = false;
    return step;
}

}  // namespace orvane::app
