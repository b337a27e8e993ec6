#pragma once
// Everything a chart view knows apart from its widgets: the days, the view
// size, the zoom, the focus day, which days are visible, the scale and the
// candle body rectangles. Plain C++, used by tests without a display.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "orvane/chart/KChartScale.h"
#include "orvane/chart/KIndicators.h"
#include "orvane/chart/KPeriod.h"
#include "orvane/chart/KSection.h"

namespace orvane::chart {

inline constexpr float kDefaultZoomLevel = 3.5f;

/// A price scale label: "%.2f", or "%.1f" from 1000.0 up.
std::string priceLabelText(float price);

class KChartModel {
  public:
    /// A model for a view of width w and height h.
    KChartModel(float w = 0, float h = 0);

    /// Replaces the days with the file's (none when it cannot be read) and
    /// lays them out.
    void initKDataFromFilePath(const std::filesystem::path& path);
    /// Replaces the days with a list already sorted and derived, and lays
    /// out the candles of the period shown.
    void setDataList(std::vector<KSection> days);
    /// The candles shown: the days, or the weeks or months made from them.
    const std::vector<KSection>& dataList() const { return dataList_; }
    /// The indicators of each candle of dataList(), index for index.
    const std::vector<KIndicatorValues>& indicatorValues() const { return indicators_; }

    KPeriod period() const { return period_; }
    /// Shows the days as candles of `period`; the focus goes.
    void setPeriod(KPeriod period);
    /// The indicator of the panel under the volume.
    KIndicator indicator() const { return indicator_; }
    void setIndicator(KIndicator indicator) { indicator_ = indicator; }

    /// New view size: plot width w − 40, price area height h − 140.
    void setViewSize(float w, float h);
    float currentSectionRangeX() const { return currentSectionRangeX_; }
    float currentSectionRangeY() const { return currentSectionRangeY_; }
    float viewWidth() const { return currentSectionRangeX_ + kPriceScaleWidth; }
    float viewHeight() const { return currentSectionRangeY_ + kVolumeBandHeight + kTopMargin; }

    float zoomLevel() const { return zoomLevel_; }
    /// Stores z only when 0 < z ≤ 10; returns whether it did.
    bool setZoomLevel(float z);
    /// Candle width: 2 × zoom truncated, 1 to 20.
    int sectionWidth() const;

    /// How many of the newest days fit the plot width (never more than exist).
    int visibleCount() const;
    /// Index of the leftmost visible day.
    int visibleStart() const;

    float topPriceOfList(int n) const;
    float bottomPriceOfList(int n) const;
    float topVolumeOfList(int n) const;
    KChartScale scale() const;

    /// The price at height y of the price area, clamped to the visible range, "%.2f".
    std::string currentPriceOfY(float y) const;

    /// Stores in each visible day the candle body rectangle it is drawn with,
    /// and the zero rectangle in every other day (a day that is not drawn
    /// cannot be pointed at). Run after every change of days, size or zoom.
    void layoutSections();

    std::int32_t focusDataIndex() const { return focusDataIndex_; }
    void setFocusDataIndex(std::int32_t index) { focusDataIndex_ = index; }

  private:
    void showPeriod();

    float currentSectionRangeX_ = 0;
    float currentSectionRangeY_ = 0;
    std::vector<KSection> days_;  // the daily candles, whatever the period
    std::vector<KSection> dataList_;
    std::vector<KIndicatorValues> indicators_;
    KPeriod period_ = KPeriod::Day;
    KIndicator indicator_ = KIndicator::MACD;
    float zoomLevel_ = kDefaultZoomLevel;
    std::int32_t focusDataIndex_ = -1;
};

}  // namespace orvane::chart
