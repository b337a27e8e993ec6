#pragma once
// One stock's K-line chart as a widget: draws the model with KChartPainter,
// the indicator panel under it and the date axis in a strip at the bottom,
// and carries the legends (KAverageView for the price averages, KLegendView
// for the volume's and the indicator's values), the row of choices
// (KChartOptionsBar: period, indicator, prices) and the crosshair (two
// KMouseLine, a price label, a date tag on the axis and a KInfoView) as child
// widgets placed by frames, so moving the crosshair only uncovers parts of
// the chart picture, which is kept until the candles, the size, the zoom or
// the indicator change. Keys: Left/Right move the focus candle, Up/Down
// zoom, Escape hides the crosshair, F8 steps the period, F9 the indicator.
//
// The model's view is the widget less the indicator panel and the date
// axis strip: chart coordinates have their origin at the panel's top-left
// corner.

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <filesystem>

#include "orvane/chart/KChartModel.h"
#include "orvane/chart/KChartOptionsBar.h"
#include "orvane/chart/KCrosshair.h"

namespace orvane::chart {

class KAverageView;
class KInfoView;
class KLegendView;
class KMouseLine;

class KBaseView : public QWidget {
  public:
    /// A view at `frame` (widget coordinates), zoom 3.5, no days, no focus.
    explicit KBaseView(const QRect& frame, QWidget* parent = nullptr);

    /// Loads (or reloads) the days of a history file; the crosshair goes.
    void initKDataFromFilePath(const std::filesystem::path& path);
    /// The file last loaded.
    const std::filesystem::path& filePath() const { return filePath_; }
    /// The same stock's history as traded, when the file loaded holds
    /// forward-adjusted prices: 不复权 and 前复权 are then offered, 前复权
    /// chosen. An empty path offers 不复权 alone (the file's prices).
    void setTradedHistoryPath(const std::filesystem::path& path);
    /// Shows the choices (period, indicator, prices) as the bar's click does.
    void applyChoices(const KChartChoices& choices);
    KChartOptionsBar* optionsBar() const { return optionsBar_; }
    KLegendView* volumeLegend() const { return volumeLegend_; }
    KLegendView* indicatorLegend() const { return indicatorLegend_; }
    /// New widget size (w, h), the date axis included: clears the crosshair
    /// and redraws; the focus day stays.
    void setCurrentSectionRangeX(float w, float h);
    /// Stores z when 0 < z ≤ 10 and redraws.
    void setZoomLevel(float z);

    KChartModel& model() { return model_; }
    const KChartModel& model() const { return model_; }

    void prepareHVLineAndDataInfo();
    void clearHVLineAndDataInfo();
    /// Places the crosshair on the focus day; `mouseLocation` in chart coordinates.
    void drawHVLineAndDataInfo(bool fromMouse, KPoint mouseLocation);

    KMouseLine* kVerticalLine() const { return kVerticalLine_; }
    KMouseLine* kHorizontalLine() const { return kHorizontalLine_; }
    QLabel* kPriceLabel() const { return kPriceLabel_; }
    KInfoView* kInfoView() const { return kInfoView_; }
    /// The focus day's date on the date axis.
    QLabel* kDateLabel() const { return kDateLabel_; }
    KAverageView* averageView() const { return averageView_; }
    /// Height of the chart above the indicator panel.
    int chartHeight() const;

    /// How many times the chart picture itself has been drawn.
    int chartDrawCount() const { return chartDrawCount_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    KPoint toChart(QPointF widgetPoint) const;
    void chartChanged();
    void placeAverageView();
    /// Whether the prices chosen are the traded file's.
    bool showsTradedFile() const;
    /// The days of the file the prices choice names.
    void loadChosenPrices();
    /// Repaints the legend when the day it shows has changed.
    void refreshAverageView();
    void placeDateLabel(const KRect& verticalLine, const std::string& date);

    KChartModel model_;
    std::filesystem::path filePath_;
    std::filesystem::path tradedPath_;
    bool loadedTraded_ = false;  // the traded file's days are in the model
    KAverageView* averageView_ = nullptr;
    KLegendView* volumeLegend_ = nullptr;
    KLegendView* indicatorLegend_ = nullptr;
    KChartOptionsBar* optionsBar_ = nullptr;
    int legendDay_ = -1;  // the day the legend shows
    KMouseLine* kVerticalLine_ = nullptr;
    KMouseLine* kHorizontalLine_ = nullptr;
    QLabel* kPriceLabel_ = nullptr;
    KInfoView* kInfoView_ = nullptr;
    QLabel* kDateLabel_ = nullptr;
    KRect horizontalFrame_;  // where the horizontal line stands, chart coordinates
    QImage picture_;
    bool pictureValid_ = false;
    int chartDrawCount_ = 0;
};

}  // namespace orvane::chart
