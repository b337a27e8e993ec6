#include "orvane/chart/KCrosshair.h"

#include "orvane/core/NumberText.h"

namespace orvane::chart {

std::optional<KCrosshairFrames> placeCrosshair(KChartModel& model, bool fromMouse, KPoint pointer,
                                               KRect previousHorizontal) {
    const auto& days = model.dataList();
    int focus = model.focusDataIndex();
    if (focus == -1) return std::nullopt;
    if (focus < model.visibleStart()) focus = model.visibleStart();
    if (focus >= static_cast<int>(days.size())) focus = static_cast<int>(days.size()) - 1;
    model.setFocusDataIndex(focus);
    if (focus < 0) return std::nullopt;

    const KSection& day = days[focus];
    const KRect& body = day.sectionRect;
    const float w = model.viewWidth();
    const float h = model.viewHeight();
    // The close is the body's top edge on a rising or unchanged day, else its bottom.
    const float closeY = day.closePrice >= day.openPrice ? body.top() : body.y;

    KCrosshairFrames f;
    f.verticalLine = {body.x + 0.5f * body.width, 0, 1, h};
    f.horizontalLine = previousHorizontal;
    if (!fromMouse || pointer.y >= kVolumeBandHeight)
        f.horizontalLine = {0, closeY, w - kPriceScaleWidth, 1};
    f.priceLabelRightAligned = body.x >= w / 2;
    f.priceLabel = {0, closeY + 1, kPriceLabelWidth, 12};
    f.priceText = format("%.2f", static_cast<double>(day.closePrice));

    const float plotWidth = model.currentSectionRangeX();
    const bool dayInLeftHalf = f.verticalLine.x < plotWidth / 2;
    f.infoPanel = {// On the left it stays clear of the price label at the plot's edge.
                   dayInLeftHalf ? plotWidth - kInfoPanelWidth - kInfoPanelMargin
                                 : kPriceLabelWidth + kInfoPanelMargin,
                   h - kTopMargin - kInfoPanelMargin - kInfoPanelHeight, kInfoPanelWidth,
                   kInfoPanelHeight};
    if (f.infoPanel.y < 0) f.infoPanel.y = 0;
    return f;
}

int dayAtPointer(const KChartModel& model, KPoint pointer) {
    const float h = model.viewHeight();
    int hit = -1;
    for (const KSection& day : model.dataList()) {
        const KRect column{day.sectionRect.x, 0, day.sectionRect.width, h};
        if (column.contains(pointer)) hit = day.selectioID;
    }
    return hit;
}

void moveFocusLeft(KChartModel& model) {
    const int count = static_cast<int>(model.dataList().size());
    const int focus = model.focusDataIndex();
    model.setFocusDataIndex((focus == -1 ? count : focus) - 1);
}

void moveFocusRight(KChartModel& model) {
    const int count = static_cast<int>(model.dataList().size());
    const int focus = model.focusDataIndex();
    model.setFocusDataIndex(focus == -1 ? count - 1 : focus + 1);
}

}  // namespace orvane::chart
