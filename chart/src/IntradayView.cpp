#include "orvane/chart/IntradayView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "orvane/chart/KColours.h"

namespace orvane::chart {

namespace {
constexpr int kMargin = 6, kAxisLeft = 56, kAxisRight = 56, kTimeAxis = 18, kTopText = 20;
constexpr double kVolumeShare = 0.25;  // of the plot's height
const int kTimeMarks[] = {0, 60, 120, 180, 240};
}  // namespace

IntradayView::IntradayView(std::string code, QWidget* parent)
    : QWidget(parent), code_(std::move(code)) {
    setMouseTracking(true);
    setAutoFillBackground(false);
    setMinimumSize(320, 200);
}

void IntradayView::setLine(IntradayLine line) {
    line_ = std::move(line);
    update();
}

void IntradayView::setFocusMinute(std::optional<int> minute) {
    focus_ = minute;
    update();
}

QRectF IntradayView::priceArea() const {
    const double top = kMargin + kTopText;
    const double plot = height() - top - kTimeAxis - kMargin;
    return {double(kAxisLeft), top, double(width() - kAxisLeft - kAxisRight),
            plot * (1 - kVolumeShare) - 4};
}

QRectF IntradayView::volumeArea() const {
    const QRectF price = priceArea();
    const double bottom = height() - kTimeAxis - kMargin;
    return {price.left(), price.bottom() + 4, price.width(), bottom - price.bottom() - 4};
}

double IntradayView::xOfMinute(int minute) const {
    const QRectF a = priceArea();
    return a.left() + a.width() * (minute + 0.5) / kIntradayMinutes;
}

int IntradayView::minuteAtX(double x) const {
    const QRectF a = priceArea();
    return std::clamp(int(std::floor((x - a.left()) / a.width() * kIntradayMinutes)), 0,
                      kIntradayMinutes - 1);
}

QString IntradayView::focusText() const {
    if (!focus_) return {};
    const auto f = intradayFocusAt(line_, *focus_);
    if (!f) return QString::fromStdString(intradayMinuteText(*focus_));
    return QStringLiteral("%1  价 %2  均 %3  %4%5%  量 %6手")
        .arg(QString::fromStdString(f->time))
        .arg(f->price, 0, 'f', 2)
        .arg(f->averagePrice, 0, 'f', 2)
        .arg(f->changePercent >= 0 ? QStringLiteral("+") : QString())
        .arg(f->changePercent, 0, 'f', 2)
        .arg(f->volumeLots, 0, 'f', 0);
}

void IntradayView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), colours::background());
    const QRectF price = priceArea(), volume = volumeArea();
    const IntradayRange range = intradayRange(line_);
    const double base =
        line_.previousClose > 0 ? line_.previousClose : (range.low + range.high) / 2;
    auto yOf = [&](double v) {
        return price.bottom() - (v - range.low) / (range.high - range.low) * price.height();
    };

    // Frame, the previous close and the time marks.
    p.setPen(colours::darkGrey());
    p.drawRect(price);
    p.drawRect(volume);
    for (int mark : kTimeMarks) {
        const double x = price.left() + price.width() * mark / kIntradayMinutes;
        p.drawLine(QPointF(x, price.top()), QPointF(x, volume.bottom()));
        const QString label = mark == 120   ? QStringLiteral("11:30/13:00")
                              : mark == 240 ? QStringLiteral("15:00")
                                            : QString::fromStdString(intradayMinuteText(mark));
        p.setPen(colours::dateText());
        const QRectF box(x - 40, volume.bottom() + 2, 80, kTimeAxis - 2);
        p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, label);
        p.setPen(colours::darkGrey());
    }
    p.setPen(QPen(colours::lightGrey(), 1, Qt::DashLine));
    p.drawLine(QPointF(price.left(), yOf(base)), QPointF(price.right(), yOf(base)));

    // Price scale: left the prices, right the change from the previous close.
    for (double v : {range.high, base, range.low}) {
        const QColor c = v > base + 1e-9   ? colours::red()
                         : v < base - 1e-9 ? colours::green()
                                           : colours::white();
        p.setPen(c);
        const double y = std::clamp(yOf(v), price.top() + 6, price.bottom() - 6);
        p.drawText(QRectF(0, y - 8, kAxisLeft - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v, 'f', 2));
        const double change = base > 0 ? (v / base - 1) * 100 : 0;
        p.drawText(QRectF(price.right() + 4, y - 8, kAxisRight - 4, 16),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::number(change, 'f', 2) + "%");
    }

    if (line_.suspended || line_.points.empty()) {
        p.setPen(colours::lightGrey());
        p.drawText(price, Qt::AlignCenter,
                   line_.suspended ? QStringLiteral("停牌：今日无分时")
                                   : QStringLiteral("暂无今日分时数据"));
    }

    // Volume bars: red where the price rose from the minute before.
    double last = base;
    for (const IntradayPoint& pt : line_.points) {
        const double h = range.maxVolume > 0 ? pt.volume / range.maxVolume * volume.height() : 0;
        const double x = xOfMinute(pt.minute);
        p.setPen(pt.price >= last ? colours::risingDay() : colours::fallingDay());
        p.drawLine(QPointF(x, volume.bottom()), QPointF(x, volume.bottom() - h));
        last = pt.price;
    }

    // The price line, each piece in the colour of its side of the close,
    // and the average line.
    p.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 1; i < line_.points.size(); ++i) {
        const IntradayPoint &a = line_.points[i - 1], &b = line_.points[i];
        const double mid = (a.price + b.price) / 2;
        p.setPen(QPen(mid >= base ? colours::red() : colours::green(), 1.4));
        p.drawLine(QPointF(xOfMinute(a.minute), yOf(a.price)),
                   QPointF(xOfMinute(b.minute), yOf(b.price)));
    }
    if (line_.points.size() == 1) {
        const IntradayPoint& a = line_.points.front();
        p.setPen(QPen(a.price >= base ? colours::red() : colours::green(), 3));
        p.drawPoint(QPointF(xOfMinute(a.minute), yOf(a.price)));
    }
    QPainterPath average;
    for (std::size_t i = 0; i < line_.points.size(); ++i) {
        const QPointF pt(xOfMinute(line_.points[i].minute), yOf(line_.points[i].averagePrice));
        i == 0 ? average.moveTo(pt) : average.lineTo(pt);
    }
    p.setPen(QPen(colours::yellow(), 1));
    p.drawPath(average);
    p.setRenderHint(QPainter::Antialiasing, false);

    // The top line: the note of a line sampled since the start, or the crosshair's values.
    p.setPen(colours::white());
    const QRectF top(kAxisLeft, kMargin, width() - kAxisLeft - kAxisRight, kTopText - 2);
    if (line_.sampledSince)
        p.drawText(top, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("自 %1 起由本程序采样（服务器不提供分时）")
                       .arg(QString::fromStdString(*line_.sampledSince)));
    if (focus_) {
        p.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, focusText());
        p.setPen(QPen(colours::lightGrey(), 1, Qt::DotLine));
        const double x = xOfMinute(*focus_);
        p.drawLine(QPointF(x, price.top()), QPointF(x, volume.bottom()));
        if (const IntradayPoint* pt = line_.pointAt(*focus_))
            p.drawLine(QPointF(price.left(), yOf(pt->price)),
                       QPointF(price.right(), yOf(pt->price)));
    }
}

void IntradayView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    const QRectF plot = priceArea().united(volumeArea());
    setFocusMinute(plot.contains(at) ? std::optional<int>(minuteAtX(at.x())) : std::nullopt);
}

void IntradayView::leaveEvent(QEvent*) {
    setFocusMinute(std::nullopt);
}

}  // namespace orvane::chart
