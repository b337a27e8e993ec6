#pragma once
// The mapping of the visible days' prices, volumes and columns to view
// coordinates, computed afresh for every drawing.

namespace orvane::chart {

inline constexpr float kVolumeBandHeight = 100;  // the volume band is y 0...100
inline constexpr float kTopMargin = 40;          // above the price area
inline constexpr float kPriceScaleWidth = 40;    // right of the plot width
/// The top of the volume band kept for its legend (the volume and its averages).
inline constexpr float kVolumeLegendRoom = 16;

struct KChartScale {
    float top = 0;         // greatest visible high (starts from 0)
    float bottom = 10000;  // least visible low (starts from 10000)
    float topVolume = 0;   // greatest visible volume (starts from 0)
    float priceStep = 0;   // (top - bottom) / 10
    float yStep = 0;       // price area height / 10
    int sectionWidth = 0;  // candle width in whole pixels

    /// True when no price can be placed: every visible high and low equal.
    bool isFlat() const { return top == bottom; }
    /// Height of a price; bottom maps to 100, top to the top of the price area.
    float y(float price) const { return (price - bottom) / priceStep * yStep + kVolumeBandHeight; }
    /// Left edge of column c: columns sectionWidth wide with 1.5-pixel gaps.
    float x(int column) const {
        return static_cast<float>(sectionWidth) * static_cast<float>(column) +
               1.5f * static_cast<float>(column);
    }
    /// The column's centre line, where its wicks stand.
    float centre(int column) const { return x(column) + static_cast<float>(sectionWidth / 2); }
    /// A volume bar's height; the greatest visible volume reaches the legend's line.
    float volumeHeight(float volume) const {
        return volume * (kVolumeBandHeight - kVolumeLegendRoom) / topVolume;
    }
};

}  // namespace orvane::chart
