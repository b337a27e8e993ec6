#pragma once
// Where the crosshair and the day panel go for the focus day, and how the
// arrow keys and the pointer move the focus. Plain C++: the view applies the
// frames to its child widgets.

#include <optional>
#include <string>

#include "orvane/chart/KChartModel.h"
#include "orvane/chart/KGeometry.h"

namespace orvane::chart {

inline constexpr float kInfoPanelWidth = 120;
inline constexpr float kInfoPanelHeight = 160;

struct KCrosshairFrames {
    KRect verticalLine;
    KRect horizontalLine;  // unchanged from the previous placement over the volume band
    KRect priceLabel;
    bool priceLabelRightAligned = false;
    std::string priceText;
    KRect infoPanel;
};

/// Places the crosshair on the model's focus day (first moved into the
/// visible window). `fromMouse` and `pointer` tell whether the pointer drives
/// the placement and where it is; `previousHorizontal` is where the
/// horizontal line stands now. Nothing when there is no focus day.
std::optional<KCrosshairFrames> placeCrosshair(KChartModel& model, bool fromMouse, KPoint pointer,
                                               KRect previousHorizontal);

/// The day whose column (its body's x extent, full view height) holds the
/// pointer, or -1; the last such day in list order wins.
int dayAtPointer(const KChartModel& model, KPoint pointer);

/// Left arrow: one day back, or the newest day when there is no focus.
void moveFocusLeft(KChartModel& model);
/// Right arrow: one day on, or the newest day when there is no focus.
void moveFocusRight(KChartModel& model);

}  // namespace orvane::chart
