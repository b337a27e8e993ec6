#include "orvane/chart/KBaseView.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "orvane/chart/KAverageView.h"
#include "orvane/chart/KChartPainter.h"
#include "orvane/chart/KColours.h"
#include "orvane/chart/KDateAxisPainter.h"
#include "orvane/chart/KIndicatorPainter.h"
#include "orvane/chart/KIndicatorPanel.h"
#include "orvane/chart/KInfoView.h"
#include "orvane/chart/KLegendView.h"
#include "orvane/chart/KMouseLine.h"
#include "orvane/chart/KWidgetFrame.h"

namespace orvane::chart {

namespace {

// The legend stands in the margin above the price area, clear of the price scale.
constexpr int kLegendLeft = 4;
constexpr int kLegendTop = 4;
constexpr int kLegendHeight = 16;
// The choices' row under the legend, the indicator's and volume's legends
// at the tops of their bands.
constexpr int kOptionsTop = 22;
constexpr int kBandLegendHeight = 14;
// The panel and the date axis under the chart.
constexpr int kBelowChart = static_cast<int>(kIndicatorPanelHeight) + kDateAxisHeight;

}  // namespace

KBaseView::KBaseView(const QRect& frame, QWidget* parent)
    : QWidget(parent),
      model_(static_cast<float>(frame.width()), static_cast<float>(frame.height() - kBelowChart)) {
    setGeometry(frame);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    averageView_ = new KAverageView(model_, this);
    volumeLegend_ =
        new KLegendView([this] { return volumeLegendOf(model_, legendDayOf(model_)); }, this);
    indicatorLegend_ =
        new KLegendView([this] { return indicatorLegendOf(model_, legendDayOf(model_)); }, this);
    optionsBar_ = new KChartOptionsBar([this](const KChartChoices& c) { applyChoices(c); }, this);
    placeAverageView();
}

int KBaseView::chartHeight() const {
    return height() - kBelowChart;
}

void KBaseView::initKDataFromFilePath(const std::filesystem::path& path) {
    filePath_ = path;
    loadChosenPrices();
}

void KBaseView::setTradedHistoryPath(const std::filesystem::path& path) {
    tradedPath_ = path;
    KChartChoices choices = optionsBar_->choices();
    const bool offered = !path.empty();
    if (offered != choices.adjustedOffered)
        choices.prices = offered ? KPrices::ForwardAdjusted : KPrices::Traded;
    choices.adjustedOffered = offered;
    optionsBar_->setChoices(choices);
    loadChosenPrices();
}

bool KBaseView::showsTradedFile() const {
    const KChartChoices& choices = optionsBar_->choices();
    return choices.adjustedOffered && choices.prices == KPrices::Traded;
}

void KBaseView::loadChosenPrices() {
    loadedTraded_ = showsTradedFile();
    model_.setFocusDataIndex(-1);
    clearHVLineAndDataInfo();
    model_.initKDataFromFilePath(loadedTraded_ ? tradedPath_ : filePath_);
    chartChanged();
}

void KBaseView::applyChoices(const KChartChoices& choices) {
    optionsBar_->setChoices(choices);
    model_.setIndicator(choices.indicator);
    if (choices.period != model_.period()) {
        clearHVLineAndDataInfo();
        model_.setPeriod(choices.period);
    }
    if (showsTradedFile() != loadedTraded_)
        loadChosenPrices();
    else
        chartChanged();
}

void KBaseView::setCurrentSectionRangeX(float w, float h) {
    resize(static_cast<int>(w), static_cast<int>(h));
    model_.setViewSize(w, h - kBelowChart);
    clearHVLineAndDataInfo();
    placeAverageView();
    chartChanged();
}

void KBaseView::placeAverageView() {
    const int right = static_cast<int>(model_.currentSectionRangeX());
    const int legendWidth = std::max(right - kLegendLeft, 0);
    averageView_->setGeometry(kLegendLeft, kLegendTop, legendWidth, kLegendHeight);
    optionsBar_->setGeometry(kLegendLeft, kOptionsTop, legendWidth, kLegendHeight);
    volumeLegend_->setGeometry(kLegendLeft, chartHeight() - static_cast<int>(kVolumeBandHeight) + 2,
                               legendWidth, kBandLegendHeight);
    indicatorLegend_->setGeometry(kLegendLeft, chartHeight() + 2, legendWidth, kBandLegendHeight);
}

void KBaseView::setZoomLevel(float z) {
    if (model_.setZoomLevel(z)) chartChanged();
}

void KBaseView::chartChanged() {
    pictureValid_ = false;
    update();
    legendDay_ = legendDayOf(model_);
    averageView_->update();
    volumeLegend_->update();
    indicatorLegend_->update();
}

void KBaseView::prepareHVLineAndDataInfo() {
    auto prepare = [this](QWidget* child) {
        child->setGeometry(0, 0, 0, 0);
        child->show();
    };
    if (!kVerticalLine_) prepare(kVerticalLine_ = new KMouseLine(this));
    if (!kHorizontalLine_) {
        prepare(kHorizontalLine_ = new KMouseLine(this));
        horizontalFrame_ = {};
    }
    if (!kPriceLabel_) {
        kPriceLabel_ = new QLabel(this);
        kPriceLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
        QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setPixelSize(10);
        kPriceLabel_->setFont(font);
        QPalette palette = kPriceLabel_->palette();
        palette.setColor(QPalette::WindowText, colours::red());
        kPriceLabel_->setPalette(palette);
        prepare(kPriceLabel_);
    }
    if (!kDateLabel_) {
        kDateLabel_ = new QLabel(this);
        kDateLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
        kDateLabel_->setFont(dateAxisFont());
        kDateLabel_->setAlignment(Qt::AlignCenter);
        kDateLabel_->setAutoFillBackground(true);
        // The crosshair's own colour, so the tag reads as part of it.
        QPalette palette = kDateLabel_->palette();
        palette.setColor(QPalette::Window, colours::yellow());
        palette.setColor(QPalette::WindowText, colours::background());
        kDateLabel_->setPalette(palette);
        prepare(kDateLabel_);
    }
    if (!kInfoView_) prepare(kInfoView_ = new KInfoView(this));
}

void KBaseView::clearHVLineAndDataInfo() {
    delete kVerticalLine_;
    delete kHorizontalLine_;
    delete kPriceLabel_;
    delete kInfoView_;
    delete kDateLabel_;
    kVerticalLine_ = kHorizontalLine_ = nullptr;
    kPriceLabel_ = nullptr;
    kInfoView_ = nullptr;
    kDateLabel_ = nullptr;
    horizontalFrame_ = {};
    refreshAverageView();  // back to the newest day
}

void KBaseView::refreshAverageView() {
    const int day = legendDayOf(model_);
    if (day == legendDay_) return;
    legendDay_ = day;
    averageView_->update();
    volumeLegend_->update();
    indicatorLegend_->update();
}

void KBaseView::drawHVLineAndDataInfo(bool fromMouse, KPoint mouseLocation) {
    prepareHVLineAndDataInfo();
    const auto frames = placeCrosshair(model_, fromMouse, mouseLocation, horizontalFrame_);
    refreshAverageView();
    if (!frames) return;
    const int h = chartHeight();
    // The vertical line runs on through the indicator panel.
    kVerticalLine_->setGeometry(toWidgetRect(frames->verticalLine, h)
                                    .adjusted(0, 0, 0, static_cast<int>(kIndicatorPanelHeight)));
    horizontalFrame_ = frames->horizontalLine;
    kHorizontalLine_->setGeometry(toWidgetRect(horizontalFrame_, h));
    const Qt::Alignment alignment =
        (frames->priceLabelRightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    if (kPriceLabel_->alignment() != alignment) kPriceLabel_->setAlignment(alignment);
    const QString priceText = QString::fromStdString(frames->priceText);
    if (kPriceLabel_->text() != priceText) kPriceLabel_->setText(priceText);
    kPriceLabel_->setGeometry(toWidgetRect(frames->priceLabel, h));
    kInfoView_->setGeometry(toWidgetRect(frames->infoPanel, h));
    const KSection& day = model_.dataList()[static_cast<std::size_t>(model_.focusDataIndex())];
    kInfoView_->setValues(infoValuesFor(day));
    placeDateLabel(frames->verticalLine, day.date);
}

void KBaseView::placeDateLabel(const KRect& verticalLine, const std::string& date) {
    const QString text = QString::fromStdString(date);
    if (kDateLabel_->text() != text) kDateLabel_->setText(text);
    const int width = kDateLabel_->fontMetrics().horizontalAdvance(text) + 8;
    // Centred on the line, but inside the view.
    int x = static_cast<int>(verticalLine.x) - width / 2;
    x = std::clamp(x, 0, std::max(this->width() - width, 0));
    kDateLabel_->setGeometry(x, chartHeight() + static_cast<int>(kIndicatorPanelHeight) + 1, width,
                             kDateAxisHeight - 1);
}

KPoint KBaseView::toChart(QPointF p) const {
    return {static_cast<float>(p.x()), static_cast<float>(chartHeight() - p.y())};
}

void KBaseView::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (!pictureValid_ || picture_.size() != pixels) {
        picture_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        picture_.setDevicePixelRatio(ratio);
        QPainter painter(&picture_);
        KChartPainter(painter, model_).drawRect();
        drawIndicatorPanel(painter, model_,
                           QRectF(0, chartHeight(), width(), kIndicatorPanelHeight));
        drawDateAxis(painter, model_,
                     QRectF(0, chartHeight() + kIndicatorPanelHeight, width(), kDateAxisHeight));
        pictureValid_ = true;
        ++chartDrawCount_;
    }
    QPainter painter(this);
    painter.drawImage(
        event->rect(), picture_,
        QRectF(QPointF(event->rect().topLeft()) * ratio, QSizeF(event->rect().size()) * ratio));
}

void KBaseView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (model_.viewWidth() == static_cast<float>(width()) &&
        model_.viewHeight() == static_cast<float>(chartHeight()))
        return;
    // Resized from outside (a layout, the window manager): the same as a new range.
    model_.setViewSize(static_cast<float>(width()), static_cast<float>(chartHeight()));
    clearHVLineAndDataInfo();
    placeAverageView();
    chartChanged();
}

void KBaseView::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    prepareHVLineAndDataInfo();
}

void KBaseView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    prepareHVLineAndDataInfo();
}

void KBaseView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    model_.setFocusDataIndex(-1);
    clearHVLineAndDataInfo();
}

void KBaseView::mouseMoveEvent(QMouseEvent* event) {
    if (model_.dataList().empty()) return;
    const KPoint p = toChart(event->position());
    const int day = dayAtPointer(model_, p);
    if (day < 0) return;
    model_.setFocusDataIndex(day);
    drawHVLineAndDataInfo(true, p);
}

void KBaseView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            setZoomLevel(model_.zoomLevel() + 0.5f);
            break;
        case Qt::Key_Down:
            setZoomLevel(model_.zoomLevel() - 0.5f);
            break;
        case Qt::Key_Left:
            moveFocusLeft(model_);
            drawHVLineAndDataInfo(false, {0, 0});
            break;
        case Qt::Key_Right:
            moveFocusRight(model_);
            drawHVLineAndDataInfo(false, {0, 0});
            break;
        case Qt::Key_F8: {
            KChartChoices choices = optionsBar_->choices();
            choices.period = nextPeriod(choices.period);
            applyChoices(choices);
            break;
        }
        case Qt::Key_F9: {
            KChartChoices choices = optionsBar_->choices();
            choices.indicator = nextIndicator(choices.indicator);
            applyChoices(choices);
            break;
        }
        case Qt::Key_Escape:
            model_.setFocusDataIndex(-1);
            clearHVLineAndDataInfo();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace orvane::chart
