#pragma once
// Where the crosshair and the day panel go for the focus day, and how the
// arrow keys and the pointer move the focus. Plain C++: the view applies the
// frames to its child widgets.

#include <optional>
#include <string>

#include "orvane/chart/KChartModel.h"
#include "orvane/chart/KGeometry.h"

namespace orvane::chart {

inline constexpr float kInfoPanelWidth = 128;  // 120 × 160 of rows in a 4-pixel frame
inline constexpr float kInfoPanelHeight = 168;
inline constexpr float kInfoPanelMargin = 4;   // from the plot's side and the price area's top
inline constexpr float kPriceLabelWidth = 40;  // the close's label at the plot's left edge

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
/// horizontal line stands now. The day panel goes to the top of the half of
/// the plot away from the focus day, so it never hides that day's candle.
/// Nothing when there is no focus day.
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
