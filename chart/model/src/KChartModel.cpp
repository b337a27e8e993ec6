#include "orvane/chart/KChartModel.h"

#include <algorithm>

#include "orvane/chart/KHistoryLoader.h"
#include "orvane/core/NumberText.h"

namespace orvane::chart {

std::string priceLabelText(float price) {
    return format(price >= 1000.0f ? "%.1f" : "%.2f", static_cast<double>(price));
}

KChartModel::KChartModel(float w, float h) {
    setViewSize(w, h);
}

void KChartModel::initKDataFromFilePath(const std::filesystem::path& path) {
    setDataList(loadKSections(path));
}

void KChartModel::setDataList(std::vector<KSection> days) {
    days_ = std::move(days);
    showPeriod();
}

void KChartModel::setPeriod(KPeriod period) {
    if (period == period_) return;
    period_ = period;
    focusDataIndex_ = -1;
    showPeriod();
}

void KChartModel::showPeriod() {
    dataList_ = candlesOfPeriod(days_, period_);
    indicators_ = indicatorValuesOf(dataList_);
    layoutSections();
}

void KChartModel::setViewSize(float w, float h) {
    currentSectionRangeX_ = w - kPriceScaleWidth;
    currentSectionRangeY_ = h - kVolumeBandHeight - kTopMargin;
    layoutSections();
}

bool KChartModel::setZoomLevel(float z) {
    if (!(z > 0 && z <= 10)) return false;
    zoomLevel_ = z;
    layoutSections();
    return true;
}

int KChartModel::sectionWidth() const {
    return static_cast<int>(2.0 * static_cast<double>(zoomLevel_));
}

int KChartModel::visibleCount() const {
    const double fit = (static_cast<double>(currentSectionRangeX_) + 1.5) / (sectionWidth() + 1.5);
    const int count = static_cast<int>(dataList_.size());
    // A view narrower than one column shows nothing rather than a negative count.
    if (!(fit > 0)) return 0;
    if (fit >= count) return count;
    return static_cast<int>(fit);
}

int KChartModel::visibleStart() const {
    return std::max(static_cast<int>(dataList_.size()) - visibleCount(), 0);
}

float KChartModel::topPriceOfList(int n) const {
    float top = 0;
    for (std::size_t i = dataList_.size() - n; i < dataList_.size(); ++i)
        top = std::max(top, dataList_[i].highPrice);
    return top;
}

float KChartModel::bottomPriceOfList(int n) const {
    float bottom = 10000.0f;
    for (std::size_t i = dataList_.size() - n; i < dataList_.size(); ++i)
        bottom = std::min(bottom, dataList_[i].lowPrice);
    return bottom;
}

float KChartModel::topVolumeOfList(int n) const {
    float top = 0;
    for (std::size_t i = dataList_.size() - n; i < dataList_.size(); ++i)
        top = std::max(top, dataList_[i].volume);
    return top;
}

KChartScale KChartModel::scale() const {
    const int n = visibleCount();
    KChartScale s;
    s.top = topPriceOfList(n);
    s.bottom = bottomPriceOfList(n);
    s.topVolume = topVolumeOfList(n);
    s.priceStep = (s.top - s.bottom) / 10.0f;
    s.yStep = currentSectionRangeY_ / 10.0f;
    s.sectionWidth = sectionWidth();
    return s;
}

std::string KChartModel::currentPriceOfY(float y) const {
    const KChartScale s = scale();
    float price = (y - kVolumeBandHeight) * ((s.top - s.bottom) / currentSectionRangeY_) + s.bottom;
    // Checked one bound after the other: with no days the range is upside down.
    if (price > s.top) price = s.top;
    if (price < s.bottom) price = s.bottom;
    return format("%.2f", static_cast<double>(price));
}

void KChartModel::layoutSections() {
    for (KSection& day : dataList_) day.sectionRect = {};
    const int n = visibleCount();
    if (n == 0) return;
    const KChartScale s = scale();
    if (s.isFlat()) return;
    const int start = visibleStart();
    const auto width = static_cast<float>(s.sectionWidth);
    for (int c = 0; c < n; ++c) {
        KSection& day = dataList_[start + c];
        const float o = day.openPrice;
        const float k = day.closePrice;
        KRect body = k > o ? KRect{s.x(c), s.y(o), width, (k - o) / s.priceStep * s.yStep}
                           : KRect{s.x(c), s.y(k), width, (o - k) / s.priceStep * s.yStep};
        if (body.y >= kVolumeBandHeight) day.sectionRect = body;
    }
}

}  // namespace orvane::chart
